#include "school/runstore.h"

#include "app/oledate.h"
#include "school/failurereason.h"
#include "school/schooldatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <map>

namespace voltmetr {

namespace {

// A column named with its table, so that a misspelt name is an error rather than text.
QString column(const char* name)
{
    return quotedName(ResultsTable) + u'.' + quotedName(name);
}

// A text column whose NULL reads as empty text.
QString textOf(const char* name)
{
    return QStringLiteral("COALESCE(%1, '')").arg(column(name));
}

// The one place where counts are added up: SUM passes over a NULL count, so it adds nothing,
// and runs without any row add up to 0, not to NULL. (TOTAL would give a float.)
QString summedCount(const char* name)
{
    return QStringLiteral("COALESCE(SUM(%1), 0)").arg(column(name));
}

// A NULL text binds as NULL, and a NULL surname matches no surname, not even an empty one: the
// totals would miss the very run just stored. An empty field is stored as empty text.
QVariant storedText(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QString insertRowStatement()
{
    return QStringLiteral("INSERT INTO %1 (\"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                          "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", "
                          "\"TypZkous\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING rowid")
        .arg(quotedName(ResultsTable));
}

// What the insert that has just run gave back: the new row's rowid.
QString insertedRowId(QSqlQuery& insert, qint64& runId)
{
    if (!insert.next()) {
        return databaseFailureReason(insert.lastError());
    }
    runId = insert.value(0).toLongLong();
    insert.finish(); // a statement still running would keep the transaction from its commit
    return {};
}

// What the totals statement that has just run added up.
QString totalsRead(QSqlQuery& statement, PupilTotals& totals)
{
    if (!statement.next()) {
        return databaseFailureReason(statement.lastError());
    }
    totals = {statement.value(0).toLongLong(), statement.value(1).toLongLong()};
    statement.finish();
    return {};
}

// The class filter of a statement and its bound value; nothing when every class is wanted.
QString onlyClass(const QString& className, const QString& classColumn, QVariantList& values)
{
    if (className.isEmpty()) {
        return {};
    }
    values << className;
    return QStringLiteral(" WHERE %1 = ?").arg(classColumn);
}

template <typename T> std::optional<T> optionalOf(const QVariant& value)
{
    if (value.isNull()) {
        return std::nullopt;
    }
    return value.value<T>();
}

// Each pupil's runs and summed counts: surname, class, runs, right, wrong.
QString groupedTotals(const QString& filter)
{
    return QStringLiteral("SELECT %1, %2, COUNT(*), %3, %4 FROM %5%6 GROUP BY 1, 2")
        .arg(textOf("Prijmeni"), textOf("Trida"), summedCount("Spravne"), summedCount("Chybne"),
             quotedName(ResultsTable), filter);
}

constexpr double msPerMinute = 60'000.0;
constexpr double msPerDay = 86'400'000.0;

// The bounds [from, to) of the stored times that read as the same minute or day (unitMs long) as
// value. A time is shown to the nearest millisecond, so each bound sits half a millisecond
// early: 08:45:00 stored a hair below it reads 08:45, as it is shown, not 08:44.
QVariantList readingTheSame(double value, double unitMs)
{
    const double unit = std::floor(std::round(value * msPerDay) / unitMs);
    return {(unit * unitMs - 0.5) / msPerDay, ((unit + 1) * unitMs - 0.5) / msPerDay};
}

} // namespace

QVariantList resultRowValues(const ResultRow& row)
{
    return {storedText(row.surname),
            storedText(row.className),
            row.rightCount,
            row.wrongCount,
            row.startTime,
            row.endTime,
            row.date,
            storedText(row.loginName),
            row.examType};
}

QString insertResultRow(QSqlDatabase& db, const ResultRow& row, qint64& runId)
{
    QSqlQuery statement(db);
    const QString failure = runBound(statement, insertRowStatement(), resultRowValues(row));
    return failure.isEmpty() ? insertedRowId(statement, runId) : failure;
}

QString readRunStored(QSqlDatabase& db, const ResultRow& run, bool& stored)
{
    QVariantList values{storedText(run.surname), storedText(run.className), run.rightCount,
                        run.wrongCount};
    values << readingTheSame(run.date, msPerDay) << readingTheSame(run.startTime, msPerMinute)
           << readingTheSame(run.endTime, msPerMinute);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    stored = false;
    if (QString failure =
            runBound(query,
                     QStringLiteral(
                         "SELECT 1 FROM %1 WHERE %2 = ? AND %3 = ? AND %4 = ? AND %5 = ? AND "
                         "%6 >= ? AND %6 < ? AND %7 >= ? AND %7 < ? AND %8 >= ? AND %8 < ? LIMIT 1")
                         .arg(quotedName(ResultsTable), column("Prijmeni"), column("Trida"),
                              column("Spravne"), column("Chybne"), column("Datum"),
                              column("CasStrt"), column("CasEnd")),
                     values);
        !failure.isEmpty()) {
        return failure;
    }
    stored = query.next();
    return readFailure(query);
}

QString pupilTotalsStatement(const QString& surname)
{
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = %5")
        .arg(summedCount("Spravne"), summedCount("Chybne"), quotedName(ResultsTable),
             column("Prijmeni"), surname);
}

QString readPupilTotals(QSqlDatabase& db, const QString& surname, PupilTotals& totals)
{
    QSqlQuery statement(db);
    const QString failure =
        runBound(statement, pupilTotalsStatement(QStringLiteral("?")), {storedText(surname)});
    return failure.isEmpty() ? totalsRead(statement, totals) : failure;
}

RunStatements::RunStatements(QSqlDatabase& db) : m_insert(db), m_totals(db)
{
    if (!m_insert.prepare(insertRowStatement())) {
        m_failure = databaseFailureReason(m_insert.lastError());
    } else if (!m_totals.prepare(pupilTotalsStatement(QStringLiteral("?")))) {
        m_failure = databaseFailureReason(m_totals.lastError());
    }
}

QString RunStatements::insertRow(const ResultRow& row, qint64& runId)
{
    const QString failure = runPrepared(m_insert, resultRowValues(row));
    return failure.isEmpty() ? insertedRowId(m_insert, runId) : failure;
}

QString RunStatements::readTotals(const QString& surname, PupilTotals& totals)
{
    const QString failure = runPrepared(m_totals, {storedText(surname)});
    return failure.isEmpty() ? totalsRead(m_totals, totals) : failure;
}

namespace {

// The runs whose date lies in the period, added to conditions with their bound values. A run's
// date counts as the day it shows, as readRunStored reads it.
void addPeriod(const Period& period, QStringList& conditions, QVariantList& values)
{
    const auto dayBounds = [](const QDate& day) {
        return readingTheSame(toOleDate(day.startOfDay()), msPerDay);
    };
    if (period.from) {
        conditions << column("Datum") + QStringLiteral(" >= ?");
        values << dayBounds(*period.from).first();
    }
    if (period.to) {
        conditions << column("Datum") + QStringLiteral(" < ?");
        values << dayBounds(*period.to).last();
    }
}

QString whereAll(const QStringList& conditions)
{
    return conditions.isEmpty()
               ? QString()
               : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

} // namespace

QString runsWhere(const QString& className, const Period& period, QVariantList& values)
{
    QStringList conditions;
    if (!className.isEmpty()) {
        conditions << column("Trida") + QStringLiteral(" = ?");
        values << className;
    }
    addPeriod(period, conditions, values);
    return whereAll(conditions);
}

QString pupilRunsWhere(const QString& surname, const QString& className, const Period& period,
                       QVariantList& values)
{
    QStringList conditions{textOf("Prijmeni") + QStringLiteral(" = ?"),
                           textOf("Trida") + QStringLiteral(" = ?")};
    values << storedText(surname) << storedText(className);
    addPeriod(period, conditions, values);
    return whereAll(conditions);
}

QString readRuns(QSqlDatabase& db, const QString& className, const Period& period,
                 std::vector<RunTotals>& runs)
{
    QVariantList values;
    const QString statement =
        QStringLiteral("SELECT rowid, %1, %2, %3, %4, %5 FROM %6")
            .arg(textOf("Prijmeni"), textOf("Trida"), column("Datum"), column("Spravne"),
                 column("Chybne"), quotedName(ResultsTable)) +
        runsWhere(className, period, values);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    while (query.next()) {
        runs.push_back({query.value(0).toLongLong(),
                        query.value(1).toString(),
                        query.value(2).toString(),
                        optionalOf<double>(query.value(3)),
                        {query.value(4).toLongLong(), query.value(5).toLongLong()}});
    }
    return readFailure(query);
}

QString readAnswersByDate(QSqlDatabase& db, const QString& className, const Period& period,
                          const std::function<void(double date, qint64 right, qint64 wrong)>& each)
{
    QVariantList values;
    const QString statement = QStringLiteral("SELECT %1, %2, %3 FROM %4")
                                  .arg(column("Datum"), summedCount("Spravne"),
                                       summedCount("Chybne"), quotedName(ResultsTable)) +
                              runsWhere(className, period, values) + QStringLiteral(" GROUP BY 1");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, statement, values); !failure.isEmpty()) {
        return failure;
    }
    while (query.next()) {
        if (!query.value(0).isNull()) {
            each(query.value(0).toDouble(), query.value(1).toLongLong(),
                 query.value(2).toLongLong());
        }
    }
    return readFailure(query);
}

QString readClassTotals(QSqlDatabase& db, const QString& className,
                        std::vector<PupilRunTotals>& pupils)
{
    QVariantList values;
    const QString filter = onlyClass(className, column("Trida"), values);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure = runBound(query, groupedTotals(filter), values); !failure.isEmpty()) {
        return failure;
    }
    std::map<std::pair<QString, QString>, PupilRunTotals> byPupil;
    while (query.next()) {
        const QString surname = query.value(0).toString();
        const QString pupilClass = query.value(1).toString();
        byPupil[{surname, pupilClass}] = {
            surname,
            pupilClass,
            query.value(2).toLongLong(),
            {query.value(3).toLongLong(), query.value(4).toLongLong()}};
    }
    if (QString failure = readFailure(query); !failure.isEmpty()) {
        return failure;
    }
    // The teacher wants to see who has not practised yet too.
    QVariantList listedValues;
    const QString listedFilter =
        onlyClass(className, quotedName(PupilsTable) + QStringLiteral(".") + quotedName("Trida"),
                  listedValues);
    QSqlQuery listed(db);
    listed.setForwardOnly(true);
    if (QString failure = runBound(listed,
                                   QStringLiteral("SELECT COALESCE(\"Prijmeni\", ''), "
                                                  "COALESCE(\"Trida\", '') FROM %1%2")
                                       .arg(quotedName(PupilsTable), listedFilter),
                                   listedValues);
        !failure.isEmpty()) {
        return failure;
    }
    while (listed.next()) {
        const QString surname = listed.value(0).toString();
        const QString pupilClass = listed.value(1).toString();
        byPupil.try_emplace({surname, pupilClass}, PupilRunTotals{surname, pupilClass, 0, {}});
    }
    if (QString failure = readFailure(listed); !failure.isEmpty()) {
        return failure;
    }
    for (auto& [key, pupil] : byPupil) {
        pupils.push_back(std::move(pupil));
    }
    return {};
}

namespace {

// Rows of "Prehled " as they stand, each with its rowid, read by the statement's own filter and
// order; hands each to each. Empty on success, else the reason.
template <typename Each>
QString readResultRows(QSqlDatabase& db, const QString& filterAndOrder, const QVariantList& values,
                       const Each& each)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failure =
            runBound(query,
                     QStringLiteral("SELECT \"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                                    "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", "
                                    "\"TypZkous\", rowid FROM %1 %2")
                         .arg(quotedName(ResultsTable), filterAndOrder),
                     values);
        !failure.isEmpty()) {
        return failure;
    }
    while (query.next()) {
        each(query.value(9).toLongLong(),
             StoredResult{query.value(0).toString(), query.value(1).toString(),
                          optionalOf<qint64>(query.value(2)), optionalOf<qint64>(query.value(3)),
                          optionalOf<double>(query.value(4)), optionalOf<double>(query.value(5)),
                          optionalOf<double>(query.value(6)), query.value(7).toString(),
                          optionalOf<qint64>(query.value(8))});
    }
    return readFailure(query);
}

} // namespace

QString readStoredResults(QSqlDatabase& db, std::vector<StoredResult>& rows,
                          const QString& className, const Period& period)
{
    QVariantList values;
    const QString filter = runsWhere(className, period, values);
    return readResultRows(db, filter + QStringLiteral(" ORDER BY rowid"), values,
                          [&](qint64, StoredResult row) { rows.push_back(std::move(row)); });
}

QString readPupilResults(QSqlDatabase& db, const QString& surname, const QString& className,
                         const Period& period, std::vector<NumberedResult>& rows)
{
    QVariantList values;
    const QString filter = pupilRunsWhere(surname, className, period, values);
    return readResultRows(
        db,
        // The engines differ in where NULL sorts; here it sorts first on both.
        filter + QStringLiteral(" ORDER BY %1 IS NOT NULL, %1, %2 IS NOT NULL, %2, rowid")
                     .arg(column("Datum"), column("CasStrt")),
        values, [&](qint64 runId, StoredResult row) {
            rows.push_back({runId, std::move(row)});
        });
}

} // namespace voltmetr
