#include "school/taskcause.h"

#include "school/failurereason.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>

namespace voltmetr {

namespace {

constexpr char CauseColumn[] = "Pricina";

// The column's definition: the cause of a judged wrong answer with the number it was read as.
QString causeExpression(const TaskCauseRule& rule)
{
    QString meters;
    for (const TaskCauseRule::Meter& meter : rule.meters) {
        QString causes;
        for (const auto& [cause, condition] : meter.causes) {
            causes += QStringLiteral(" WHEN %1 THEN %2").arg(condition).arg(cause);
        }
        meters += QStringLiteral(" WHEN %1 THEN CASE%2 ELSE %3 END")
                      .arg(meter.divisions)
                      .arg(causes)
                      .arg(rule.otherwise);
    }
    return QStringLiteral("CASE WHEN %1 = %2 AND %3 IS NOT NULL THEN CASE %4%5 END END")
        .arg(quotedName("Vysledek"))
        .arg(static_cast<int>(TaskVerdict::Wrong))
        .arg(TaskCauseRule::answer().sql, quotedName("Dilku"), meters);
}

// What the column's comment holds: the rule it was worked out by, in short.
QString fingerprintOf(const TaskCauseRule& rule)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(causeExpression(rule).toUtf8(), QCryptographicHash::Sha256)
            .toHex());
}

// The column's comment, or nothing when the task log has no such column.
std::optional<QString> causeComment(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!runBound(
             query,
             QStringLiteral("SELECT COALESCE(col_description(a.attrelid, a.attnum), '') "
                            "FROM pg_attribute a WHERE a.attrelid = to_regclass(?) AND "
                            "a.attname = ? AND NOT a.attisdropped"),
             {QStringLiteral("public.") + quotedName(TaskLogTable), QLatin1String(CauseColumn)})
             .isEmpty() ||
        !query.next()) {
        return std::nullopt;
    }
    return query.value(0).toString();
}

// The task log joined to the runs, of one class (of all when className is empty) in the period.
QString tasksOfRuns(const QString& className, const Period& period, QVariantList& values)
{
    return QStringLiteral(" FROM %1 JOIN %2 ON %2.rowid = %1.\"Beh\"%3")
        .arg(quotedName(TaskLogTable), quotedName(ResultsTable),
             runsWhere(className, period, values));
}

} // namespace

SqlNumber TaskCauseRule::voltage()
{
    return SqlNumber::column("Napeti");
}

SqlNumber TaskCauseRule::rangeInUse()
{
    return SqlNumber::column("Rozsah");
}

SqlNumber TaskCauseRule::answer()
{
    return SqlNumber::column("Precteno");
}

QString bringTaskCausesUpToDate(QSqlDatabase& db, const TaskCauseRule& rule, QStringList& changes)
{
    if (!isServerConnection(db)) {
        return {};
    }
    const std::optional<QString> comment = causeComment(db);
    const QString fingerprint = fingerprintOf(rule);
    if (comment == fingerprint) {
        return {};
    }
    const QString table = quotedName(TaskLogTable);
    const QString column = quotedName(CauseColumn);
    // Working out the causes of a school's years of tasks may take longer than a statement is
    // otherwise allowed; the wait for a lock the pupils hold stays as short as ever.
    QStringList statements{QStringLiteral("SELECT set_config('statement_timeout', '0', true)")};
    if (comment) {
        statements << QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column);
    }
    // The fingerprint is hexadecimal digits: nothing in it can end the quotes.
    statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 INTEGER GENERATED ALWAYS AS (%3) "
                                 "STORED")
                      .arg(table, column, causeExpression(rule))
               << QStringLiteral("COMMENT ON COLUMN %1.%2 IS '%3'").arg(table, column, fingerprint);
    if (const QString failure = inOneTransaction(db, [&] { return runAll(db, statements); });
        !failure.isEmpty()) {
        return failure;
    }
    changes << (comment ? QStringLiteral("Pravděpodobné příčiny chyb v tabulce úloh jsou "
                                         "přepočítány podle nynějšího pravidla.")
                        : QStringLiteral("Tabulka úloh má nově sloupec s pravděpodobnou příčinou "
                                         "každé chyby; server ho počítá sám a statistika celé "
                                         "školy je rychlejší."));
    return {};
}

bool taskCausesCurrent(QSqlDatabase& db, const TaskCauseRule& rule)
{
    return isServerConnection(db) && causeComment(db) == fingerprintOf(rule);
}

QString readPupilSummary(QSqlDatabase& db, const QString& className, const Period& period,
                         int causeCount, const std::function<void(const PupilSummary&)>& each)
{
    const QString runs = quotedName(ResultsTable);
    const QString tasks = quotedName(TaskLogTable);
    const QString pupil =
        QStringLiteral("COALESCE(%1.\"Prijmeni\", '') AS s, COALESCE(%1.\"Trida\", '') AS c")
            .arg(runs);
    QString causes;
    for (int cause = 1; cause <= causeCount; ++cause) {
        causes += QStringLiteral(", COUNT(*) FILTER (WHERE %1.%2 = %3)")
                      .arg(tasks, quotedName(CauseColumn))
                      .arg(cause);
    }
    // The runs and the tasks are added up apart, each grouped by the pupil, and then put side
    // by side: a run without logged tasks, as a mailed report brings, counts all the same.
    QVariantList values;
    const QString runsOfPupils =
        QStringLiteral("SELECT %1, COUNT(*), COALESCE(SUM(%2.\"Spravne\"), 0), "
                       "COALESCE(SUM(%2.\"Chybne\"), 0), MAX(%2.\"Datum\") FROM %2")
            .arg(pupil, runs) +
        runsWhere(className, period, values) + QStringLiteral(" GROUP BY 1, 2");
    const QString tasksOfPupils =
        QStringLiteral("SELECT %1, COUNT(*), COALESCE(SUM(%2.\"Sekund\"), 0), "
                       "COALESCE(SUM(%2.\"Znicen\"), 0)%3")
            .arg(pupil, tasks, causes) +
        tasksOfRuns(className, period, values) + QStringLiteral(" GROUP BY 1, 2");
    const QString statement =
        QStringLiteral("SELECT * FROM (%1) AS r LEFT JOIN (%2) AS t ON t.s = r.s AND t.c = r.c")
            .arg(runsOfPupils, tasksOfPupils);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    PupilSummary totals;
    totals.causes.resize(static_cast<std::size_t>(causeCount));
    while (query.next()) {
        totals.surname = query.value(0).toString();
        totals.pupilClass = query.value(1).toString();
        totals.runs = query.value(2).toLongLong();
        totals.right = query.value(3).toLongLong();
        totals.wrong = query.value(4).toLongLong();
        totals.lastRun = query.value(5).isNull() ? std::nullopt
                                                 : std::optional<double>(query.value(5).toDouble());
        totals.tasks = query.value(8).toLongLong();
        totals.seconds = query.value(9).toDouble();
        totals.destroyed = query.value(10).toLongLong();
        for (int cause = 0; cause < causeCount; ++cause) {
            totals.causes[static_cast<std::size_t>(cause)] = query.value(11 + cause).toLongLong();
        }
        each(totals);
    }
    return readFailure(query);
}

QString readTasksByMeter(QSqlDatabase& db, const QString& className, const Period& period,
                         const std::function<void(const TaskRecord&, qint64 count)>& each)
{
    const QString tasks = quotedName(TaskLogTable);
    QVariantList values;
    const QString statement =
        QStringLiteral("SELECT %1.\"Dilku\", %1.\"Vysledek\", %1.\"Znicen\", COUNT(*)").arg(tasks) +
        tasksOfRuns(className, period, values) + QStringLiteral(" GROUP BY 1, 2, 3");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    TaskRecord task;
    while (query.next()) {
        task.divisions = query.value(0).toInt();
        task.verdict = static_cast<TaskVerdict>(query.value(1).toInt());
        task.destroyed = query.value(2).toInt() != 0;
        each(task, query.value(3).toLongLong());
    }
    return readFailure(query);
}

} // namespace voltmetr
