#include "school/resultsstore.h"

#include "school/failurereason.h"
#include "school/fileaccess.h"
#include "school/pupilstore.h"
#include "school/saveretry.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"
#include "school/tasklogstore.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace voltmetr {

namespace {

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
        // row to a later statement. A failed rollback is logged; the first failure is the
        // reason.
        rollBackWriting(db);
        return meansHeldByAnother(result.error) ? SaveRetry::Outcome::Busy
                                                : SaveRetry::Outcome::Failed;
    }
    result.totals = totals;
    return SaveRetry::Outcome::Done;
}

} // namespace

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
    if (result.ok()) {
        result.error = fileStorageProblem(m_path);
    }
    if (!result.ok()) {
        return result;
    }
    result.error = readProfiles(connection.db(), result.pupils);
    if (!result.ok()) {
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
