#include "school/resultsstore.h"

#include "school/failurereason.h"
#include "school/saveretry.h"
#include "school/schooldatabase.h"
#include "school/tasklogstore.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace voltmetr {

namespace {

// A column named with its table, so that a misspelt name is an error rather than text.
QString column(const char* table, const char* name)
{
    return quotedName(table) + u'.' + quotedName(name);
}

// Prepares and runs a statement with its values bound in order; the reason when it fails.
QString run(QSqlQuery& query, const QString& statement, const QVariantList& values = {})
{
    if (!query.prepare(statement)) {
        return databaseFailureReason(query.lastError());
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return databaseFailureReason(query.lastError());
    }
    return {};
}

// A null text binds as NULL, and a NULL surname matches no surname, not even an empty one: the
// totals would miss the very run just stored. An empty field is stored as empty text.
QVariant storedText(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

// Whose run it was, as the administrator finds the pupil in the class list.
QString pupilOf(const ResultRow& row)
{
    return QStringLiteral("žáka „%1“ (třída „%2“, přihlášen jako „%3“)")
        .arg(row.surname, row.className, row.loginName);
}

// One attempt: the row appended and the surname's totals read in one transaction, so that the
// totals include the row exactly when it was stored, and an attempt that fails leaves nothing
// behind to store twice. The connection waits for another writer at most `wait`.
SaveRetry::Outcome storeOnce(SchoolConnection& connection, const ResultRow& row,
                             const std::vector<TaskRecord>& tasks, SaveRetry::Duration wait,
                             RunStored& result)
{
    QSqlDatabase& db = connection.db();
    result.error = connection.waitAtMost(wait);
    if (result.error.isEmpty()) {
        result.error = beginWriting(db);
    }
    if (!result.error.isEmpty()) {
        return meansHeldByAnother(result.error) ? SaveRetry::Outcome::Busy
                                                : SaveRetry::Outcome::Failed;
    }
    qint64 runId = 0;
    result.error = insertResultRow(db, row, runId);
    if (result.error.isEmpty()) {
        storeTaskLog(db, runId, tasks, pupilOf(row));
    }
    PupilTotals totals;
    if (result.error.isEmpty()) {
        result.error = readPupilTotals(db, row.surname, totals);
    }
    if (result.error.isEmpty()) {
        result.error = commitWriting(db);
    }
    if (!result.error.isEmpty()) {
        // Closing the connection would roll back too; a failed COMMIT must not leave the
        // row to a later statement.
        QSqlQuery rollback(db);
        rollback.exec(QStringLiteral("ROLLBACK"));
        return meansHeldByAnother(result.error) ? SaveRetry::Outcome::Busy
                                                : SaveRetry::Outcome::Failed;
    }
    result.totals = totals;
    return SaveRetry::Outcome::Done;
}

} // namespace

QString insertResultRow(QSqlDatabase& db, const ResultRow& row, qint64& runId)
{
    QSqlQuery statement(db);
    QString failure =
        run(statement,
            QStringLiteral("INSERT INTO %1 (\"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                           "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", \"TypZkous\") "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING rowid")
                .arg(quotedName(ResultsTable)),
            {storedText(row.surname), storedText(row.className), row.rightCount, row.wrongCount,
             row.startTime, row.endTime, row.date, storedText(row.loginName), row.examType});
    if (failure.isEmpty()) {
        if (statement.next()) {
            runId = statement.value(0).toLongLong();
        } else {
            failure = databaseFailureReason(statement.lastError());
        }
    }
    return failure;
}

QString readPupilTotals(QSqlDatabase& db, const QString& surname, PupilTotals& totals)
{
    QSqlQuery statement(db);
    // A NULL count adds nothing; TOTAL would give a float, so SUM is wrapped instead.
    QString failure =
        run(statement,
            QStringLiteral("SELECT COALESCE(SUM(%1), 0), COALESCE(SUM(%2), 0) FROM %3 WHERE %4 = ?")
                .arg(column(ResultsTable, "Spravne"), column(ResultsTable, "Chybne"),
                     quotedName(ResultsTable), column(ResultsTable, "Prijmeni")),
            {storedText(surname)});
    if (failure.isEmpty()) {
        if (statement.next()) {
            totals = {statement.value(0).toLongLong(), statement.value(1).toLongLong()};
        } else {
            failure = databaseFailureReason(statement.lastError());
        }
    }
    return failure;
}

ResultsStore::ResultsStore(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs)
{
}

PupilsRead ResultsStore::readPupils() const
{
    PupilsRead result;
    SchoolConnection connection(m_path, SchoolConnection::Access::Read, m_busyTimeoutMs);
    result.error = connection.openError();
    if (result.error.isEmpty()) {
        // Sign-in checks the results table too: a pupil must not work through a whole run
        // that can then not be stored.
        result.error = checkSchoolSchema(connection.db());
    }
    if (!result.ok()) {
        return result;
    }
    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    result.error = run(query, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY rowid")
                                  .arg(column(PupilsTable, "Prijmeni"),
                                       column(PupilsTable, "Trida"), quotedName(PupilsTable)));
    if (!result.ok()) {
        return result;
    }
    // A NULL field reads as empty text.
    while (query.next()) {
        result.pupils.push_back({query.value(0).toString(), query.value(1).toString()});
    }
    if (query.lastError().isValid()) {
        result.error = databaseFailureReason(query.lastError());
        result.pupils.clear();
    }
    return result;
}

RunStored ResultsStore::appendRun(const ResultRow& row, const std::vector<TaskRecord>& tasks) const
{
    RunStored result;
    int attempts = 0;
    QElapsedTimer took;
    took.start();
    // One connection for the whole save: opening one costs a server more than the save itself.
    SchoolConnection connection(m_path, SchoolConnection::Access::Write, m_busyTimeoutMs);
    result.error = connection.openError();
    if (result.error.isEmpty()) {
        const SaveRetry retry({.budget = SaveRetry::Duration(m_busyTimeoutMs)});
        retry.run([&](SaveRetry::Duration wait) {
            ++attempts;
            return storeOnce(connection, row, tasks, wait, result);
        });
    }
    // Each failed attempt has logged the engine's own words; these lines tell the administrator
    // what came of them: a class that waits for the database, or a run the teacher must enter.
    // A save held up for less than a blink is a class saving at once, nothing to report.
    constexpr qint64 noticeableMs = 200;
    const bool heldUp = attempts > 1 || connection.lockWaited() > std::chrono::milliseconds(0);
    if (heldUp && took.elapsed() >= noticeableMs) {
        qCWarning(lcDatabase).noquote()
            << QStringLiteral("Ukládání výsledku %1 do databáze %2 muselo čekat na jiné počítače: "
                              "pokusů %3, celkem %4 ms.")
                   .arg(pupilOf(row), m_path, QString::number(attempts),
                        QString::number(took.elapsed()));
    }
    if (!result.stored()) {
        qCWarning(lcDatabase).noquote()
            << QStringLiteral("Výsledek %1 se do databáze %2 neuložil, žák ho dostal jako "
                              "zakódovanou zprávu pro vyučujícího. Důvod: %3")
                   .arg(pupilOf(row), m_path, result.error);
    }
    return result;
}

} // namespace voltmetr
