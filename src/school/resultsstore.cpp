#include "school/resultsstore.h"

#include "school/failurereason.h"
#include "school/fileaccess.h"
#include "school/pupilstore.h"
#include "school/saveretry.h"
#include "school/schooldatabase.h"
#include "school/schoolschema.h"
#include "school/serverrights.h"
#include "school/tasklogstore.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <memory>

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
// behind to store twice. Everything that can be is prepared before the write lock is taken;
// the lock is then held for running the statements and one commit. The connection waits for
// another writer at most `wait`. A trial (keep false) rolls back where a save commits.
SaveRetry::Outcome storeOnce(SchoolConnection& connection, const ResultRow& row,
                             const std::vector<TaskRecord>& tasks, SaveRetry::Duration wait,
                             RunStored& result, bool keep = true)
{
    QSqlDatabase& db = connection.db();
    result.error = connection.waitAtMost(wait);
    RunStatements statements(db);
    TaskLogWriter taskLog(db, !tasks.empty());
    if (result.error.isEmpty()) {
        result.error = statements.failure();
    }
    // A table that could not be looked at for the lock is no reason to store the run without
    // its tasks: the attempt waits like any other.
    if (result.error.isEmpty() && meansHeldByAnother(taskLog.failure())) {
        result.error = taskLog.failure();
    }
    if (result.error.isEmpty()) {
        result.error = beginWriting(db);
    }
    if (!result.error.isEmpty()) {
        return meansHeldByAnother(result.error) ? SaveRetry::Outcome::Busy
                                                : SaveRetry::Outcome::Failed;
    }
    qint64 runId = 0;
    result.error = statements.insertRow(row, runId);
    if (result.error.isEmpty()) {
        taskLog.store(runId, tasks, pupilOf(row));
    }
    PupilTotals totals;
    if (result.error.isEmpty()) {
        result.error = statements.readTotals(row.surname, totals);
    }
    if (result.error.isEmpty()) {
        result.error = keep ? commitWriting(db) : rollBackWriting(db);
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

QJsonObject jsonObjectOf(const QStringList& names, const QVariantList& values)
{
    QJsonObject object;
    for (qsizetype i = 0; i < names.size(); ++i) {
        object.insert(names[i], values[i].isNull() ? QJsonValue(QJsonValue::Null)
                                                   : QJsonValue::fromVariant(values[i]));
    }
    return object;
}

// One attempt through the server's store function, which stores the run under its identifier
// once however often it is sent: an attempt whose connection broke after the server had stored
// the run finds it stored when it is sent again.
SaveRetry::Outcome storeThroughFunction(SchoolConnection& connection, const QString& runId,
                                        const ResultRow& row, const std::vector<TaskRecord>& tasks,
                                        SaveRetry::Duration wait, RunStored& result)
{
    result.error = connection.waitAtMost(wait);
    QSqlQuery call(connection.db());
    if (result.error.isEmpty()) {
        QJsonArray taskObjects;
        const QStringList taskColumns = taskLogColumnNames().mid(1);
        for (const TaskRecord& task : tasks) {
            taskObjects.append(jsonObjectOf(taskColumns, taskRecordValues(task)));
        }
        const auto json = [](const auto& value) {
            return QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact));
        };
        result.error =
            runBound(call, storeRunCall(),
                     {runId, json(jsonObjectOf(resultColumnNames(), resultRowValues(row))),
                      json(taskObjects)});
    }
    if (result.error.isEmpty() && call.next()) {
        result.totals = PupilTotals{call.value(0).toLongLong(), call.value(1).toLongLong()};
        return SaveRetry::Outcome::Done;
    }
    if (result.error.isEmpty()) {
        result.error = databaseFailureReason(call.lastError());
    }
    return mayTryAgain(call.lastError(), true) ? SaveRetry::Outcome::Busy
                                               : SaveRetry::Outcome::Failed;
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
    // Sign-in knows whether the run can then be stored: a file must take the engine's journal
    // beside it, a server must let this login store runs as the program reaches it.
    const bool server = isServerConnection(connection.db());
    if (result.ok() && server) {
        result.error = checkNotPooledByTransaction(connection.db(), m_path);
    }
    if (result.ok()) {
        result.error = server ? checkMayStoreRun(connection.db()) : fileStorageProblem(m_path);
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

StoreTrial ResultsStore::tryStoringRun() const
{
    StoreTrial trial;
    SchoolConnection connection(m_path, SchoolConnection::Access::Write, m_busyTimeoutMs);
    trial.error = connection.openError();
    if (!trial.error.isEmpty()) {
        return trial;
    }
    if (isServerConnection(connection.db())) {
        trial.error = checkMayStoreRun(connection.db());
        return trial;
    }
    trial.error = fileStorageProblem(m_path);
    if (trial.error.isEmpty()) {
        const ResultRow nobody{QStringLiteral("(zkouška učebny)"), {}, 0, 0, 0, 0, 0, {}, 0};
        RunStored stored;
        storeOnce(connection, nobody, {}, SaveRetry::Duration(m_busyTimeoutMs), stored, false);
        trial.error = stored.error;
    }
    trial.lockWaited = connection.lockWaited();
    return trial;
}

RunStored ResultsStore::appendRun(const ResultRow& row, const std::vector<TaskRecord>& tasks) const
{
    RunStored result;
    int attempts = 0;
    QElapsedTimer took;
    took.start();
    const bool server = isServerLocation(m_path);
    const QString runId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // One connection for the whole save while it serves: opening one costs a server more than
    // the save itself. A server that refused a connection, or one that broke, is tried again.
    std::unique_ptr<SchoolConnection> connection;
    bool waitedForLock = false;
    bool throughFunction = false;
    const SaveRetry retry({.budget = SaveRetry::Duration(m_busyTimeoutMs)});
    retry.run([&](SaveRetry::Duration wait) {
        ++attempts;
        if (!connection) {
            connection = std::make_unique<SchoolConnection>(
                m_path, SchoolConnection::Access::Write,
                static_cast<int>(std::max<SaveRetry::Duration::rep>(1, wait.count())));
            result.error = connection->openError();
            if (!result.error.isEmpty()) {
                const bool again = server && mayTryAgain(connection->openFailure(), true);
                connection.reset();
                return again ? SaveRetry::Outcome::Busy : SaveRetry::Outcome::Failed;
            }
            throughFunction = server && hasStoreFunction(connection->db());
        }
        const SaveRetry::Outcome outcome =
            throughFunction ? storeThroughFunction(*connection, runId, row, tasks, wait, result)
                            : storeOnce(*connection, row, tasks, wait, result);
        waitedForLock = waitedForLock || connection->lockWaited().count() > 0;
        if (outcome != SaveRetry::Outcome::Done && throughFunction) {
            connection.reset(); // it may be broken; a new one costs little beside a lost run
        }
        return outcome;
    });
    // Each failed attempt has logged the engine's own words; these lines tell the administrator
    // what came of them: a class that waits for the database, or a run the teacher must enter.
    // A save held up for less than a blink is a class saving at once, nothing to report.
    constexpr qint64 noticeableMs = 200;
    const bool heldUp = attempts > 1 || waitedForLock;
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
