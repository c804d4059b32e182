#include "school/tasklogstore.h"

#include "school/failurereason.h"
#include "school/runstore.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace voltmetr {

QVariantList taskRecordValues(const TaskRecord& task)
{
    const QVariant noText(QMetaType::fromType<QString>());
    const QVariant noNumber(QMetaType::fromType<double>());
    return {task.order,
            task.divisions,
            static_cast<double>(task.voltage),
            task.polarityRight ? 1 : 0,
            static_cast<double>(task.bestRange),
            static_cast<double>(task.rangeInUse),
            task.rangeChanges,
            task.polarityReversals,
            task.overloads,
            task.destroyed ? 1 : 0,
            task.typed ? QVariant(*task.typed) : noText,
            task.valueRead ? QVariant(*task.valueRead) : noNumber,
            static_cast<int>(task.verdict),
            task.seconds};
}

namespace {

// Statements that mark a transaction run as they stand: a server prepares only statements that
// read or write rows. Empty on success, else the reason.
QString runPlain(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) ? QString() : databaseFailureReason(query.lastError());
}

QString insertTaskStatement()
{
    QStringList columns;
    for (const QString& name : taskLogColumnNames()) {
        columns << u'"' + name + u'"';
    }
    const QString placeholders =
        QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quotedName(TaskLogTable), columns.join(QStringLiteral(", ")), placeholders);
}

QString insertTasks(QSqlQuery& insert, qint64 runId, const std::vector<TaskRecord>& tasks)
{
    for (const TaskRecord& task : tasks) {
        if (const QString failure =
                runPrepared(insert, QVariantList{runId} + taskRecordValues(task));
            !failure.isEmpty()) {
            return failure;
        }
    }
    return {};
}

QString taskLogColumns()
{
    QStringList columns;
    for (const QString& name : taskLogColumnNames().mid(1)) {
        columns << quotedName(TaskLogTable) + QStringLiteral(".\"") + name + u'"';
    }
    return columns.join(QStringLiteral(", "));
}

TaskRecord taskRecordAt(const QSqlQuery& query, int first)
{
    const auto field = [&](int index) { return query.value(first + index); };
    TaskRecord task;
    task.order = field(0).toInt();
    task.divisions = field(1).toInt();
    task.voltage = field(2).toFloat();
    task.polarityRight = field(3).toInt() != 0;
    task.bestRange = field(4).toFloat();
    task.rangeInUse = field(5).toFloat();
    task.rangeChanges = field(6).toInt();
    task.polarityReversals = field(7).toInt();
    task.overloads = field(8).toInt();
    task.destroyed = field(9).toInt() != 0;
    if (!field(10).isNull()) {
        task.typed = field(10).toString();
    }
    if (!field(11).isNull()) {
        task.valueRead = field(11).toDouble();
    }
    task.verdict = static_cast<TaskVerdict>(field(12).toInt());
    task.seconds = field(13).toDouble();
    return task;
}

} // namespace

TaskLogWriter::TaskLogWriter(QSqlDatabase& db, bool anyTasks) : m_db(db), m_insert(db)
{
    if (!anyTasks) {
        return;
    }
    m_failure = checkTaskLogTable(db);
    if (m_failure.isEmpty() && !m_insert.prepare(insertTaskStatement())) {
        m_failure = databaseFailureReason(m_insert.lastError());
    }
}

bool TaskLogWriter::store(qint64 runId, const std::vector<TaskRecord>& tasks,
                          const QString& whoseRun)
{
    if (tasks.empty()) {
        return true;
    }
    const auto notStored = [&](const QString& failure) {
        qCWarning(lcDatabase).noquote()
            << (failure == missingTableReason(QString::fromLatin1(TaskLogTable))
                    ? QStringLiteral("Výsledek %1 se uložil bez záznamu úloh: %2. Tabulku úloh "
                                     "doplní příkaz „voltmetr-ucitel aktualizuj“.")
                    : QStringLiteral("Výsledek %1 se uložil bez záznamu úloh: %2."))
                   .arg(whoseRun, failure);
        return false;
    };
    if (!m_failure.isEmpty()) {
        return notStored(m_failure);
    }
    // A savepoint lets the log fail alone: on a server a failed statement would otherwise spoil
    // the whole transaction, and with it the run's row.
    const QString savepoint = QStringLiteral("ulohy");
    if (const QString failure = runPlain(m_db, QStringLiteral("SAVEPOINT ") + savepoint);
        !failure.isEmpty()) {
        return notStored(failure);
    }
    if (const QString failure = insertTasks(m_insert, runId, tasks); !failure.isEmpty()) {
        // Should these fail too, the transaction is spoiled and the run's totals cannot be read:
        // the run is then reported as not stored, never stored half.
        if (runPlain(m_db, QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepoint).isEmpty()) {
            runPlain(m_db, QStringLiteral("RELEASE SAVEPOINT ") + savepoint);
        }
        return notStored(failure);
    }
    if (const QString release = runPlain(m_db, QStringLiteral("RELEASE SAVEPOINT ") + savepoint);
        !release.isEmpty()) {
        return notStored(release);
    }
    return true;
}

bool taskLogReadable(QSqlDatabase& db)
{
    // One look at the catalogue: a server answers each look with a query of its own.
    const QSqlRecord record = db.record(QString::fromLatin1(TaskLogTable));
    const QStringList columns = taskLogColumnNames();
    return !record.isEmpty() && std::ranges::all_of(columns, [&](const QString& column) {
        return record.contains(column);
    });
}

namespace {

// The logged tasks of the runs the filter (a condition on the runs' columns, with its bound
// values) keeps, handed to each in the order readTaskLog tells.
QString readFilteredTaskLog(QSqlDatabase& db, const QString& filter, const QVariantList& values,
                            const std::function<void(const LoggedTask&)>& each)
{
    const QString runs = quotedName(ResultsTable);
    const QString log = quotedName(TaskLogTable);
    const QString statement =
        QStringLiteral(
            "SELECT COALESCE(%1.\"Prijmeni\", ''), COALESCE(%1.\"Trida\", ''), %1.rowid, "
            "%2 FROM %3 JOIN %1 ON %1.rowid = %3.\"Beh\"%4 ORDER BY %1.rowid, "
            "%3.\"Poradi\"")
            .arg(runs, taskLogColumns(), log, filter);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    while (query.next()) {
        each({query.value(0).toString(), query.value(1).toString(), taskRecordAt(query, 3),
              query.value(2).toLongLong()});
    }
    return readFailure(query);
}

} // namespace

QString readTaskLog(QSqlDatabase& db, const QString& className,
                    const std::function<void(const LoggedTask&)>& each)
{
    if (className.isEmpty()) {
        return readFilteredTaskLog(db, {}, {}, each);
    }
    return readFilteredTaskLog(
        db, QStringLiteral(" WHERE %1.\"Trida\" = ?").arg(quotedName(ResultsTable)), {className},
        each);
}

QString readPupilTaskLog(QSqlDatabase& db, const QString& surname, const QString& className,
                         const Period& period, const std::function<void(const LoggedTask&)>& each)
{
    // The pupil's runs are found first and their tasks through the log's index: a file's
    // planner, knowing nothing of the filter, would otherwise read the whole log.
    QVariantList values;
    const QString runs = pupilRunsWhere(surname, className, period, values);
    return readFilteredTaskLog(db,
                               QStringLiteral(" WHERE %2.\"Beh\" IN (SELECT rowid FROM %1%3)")
                                   .arg(quotedName(ResultsTable), quotedName(TaskLogTable), runs),
                               values, each);
}

QString readCountedTasks(QSqlDatabase& db, const QString& className, const Period& period,
                         const std::function<void(const CountedTask&)>& each)
{
    QVariantList values;
    const QString runs = runsWhere(className, period, values);
    QString statement = QStringLiteral("SELECT \"Beh\", \"Dilku\", \"Napeti\", \"Rozsah\", "
                                       "\"Znicen\", \"Precteno\", \"Vysledek\", \"Sekund\" "
                                       "FROM %1")
                            .arg(quotedName(TaskLogTable));
    if (!runs.isEmpty()) {
        statement += QStringLiteral(" WHERE \"Beh\" IN (SELECT rowid FROM %1%2)")
                         .arg(quotedName(ResultsTable), runs);
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    CountedTask counted;
    TaskRecord& task = counted.task;
    while (query.next()) {
        counted.run = query.value(0).toLongLong();
        task.divisions = query.value(1).toInt();
        task.voltage = query.value(2).toFloat();
        task.rangeInUse = query.value(3).toFloat();
        task.destroyed = query.value(4).toInt() != 0;
        const QVariant valueRead = query.value(5);
        task.valueRead =
            valueRead.isNull() ? std::nullopt : std::optional<double>(valueRead.toDouble());
        task.verdict = static_cast<TaskVerdict>(query.value(6).toInt());
        task.seconds = query.value(7).toDouble();
        each(counted);
    }
    return readFailure(query);
}

} // namespace voltmetr
