#pragma once

#include "school/failurereason.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <chrono>
#include <memory>

namespace voltmetr {

class LockWait;

// Everything about the school database that the pupils' program and the teacher's tool share:
// where it is, how a connection to it is opened, and the two tables it must hold.
//
// "Zaci" lists the pupils, "Prehled " (with its trailing blank) gets one row per finished
// school-server run. Dates are days since 30 December 1899.
inline constexpr char PupilsTable[] = "Zaci";
inline constexpr char ResultsTable[] = "Prehled ";
// One row per finished task of a school-server run, tied to the run's row of "Prehled " by its
// rowid. Databases made before it existed lack it; the pupils' program then stores runs without.
inline constexpr char TaskLogTable[] = "Ulohy";

// The reports the teacher's tool has stored as runs, each by its identity (the SHA-256 of its
// tokens, column "Otisk"), so that a mail decoded again is never stored twice. The pupils'
// program neither reads nor needs it: a database made before it existed works as ever, and
// gets it when reports are first stored into it.
inline constexpr char StoredReportsTable[] = "Zpravy";

// Where the school database is looked for: VOLTMETR_DB when it is set and not empty, else the
// school's settings file, else the location fixed when the program was built (empty when the
// settings file cannot be used; configuredDatabaseLocation() tells why). The location is a file
// (SQLite, shared by the pupils' computers) or a PostgreSQL server: a postgresql:// (or
// postgres://) address such as postgresql://server.skola.cz/voltmetr?sslmode=require, or a service
// of the connection service file written service=voltmetr. A password never belongs in the
// location: the server's password file (~/.pgpass, PGPASSFILE) or the service file holds it.
QString schoolDatabasePath();

// Qt's driver for a PostgreSQL server. A build may lack it (the one for Windows does): a server
// cannot be reached then, only a file.
inline constexpr char ServerDriver[] = "QPSQL";

// True when the location names a PostgreSQL server rather than a file.
bool isServerLocation(const QString& location);

// The URI a school file is opened by: mode=rw opens an existing file only. SQLite takes no host
// in it, so a file on a Windows share, //server/share/skola.sqlite, is that path after an empty
// host (file:////server/share/…); a drive's path gets the slash a URI's path begins with
// (file:///C:/…).
QString sqliteFileUri(const QString& absolutePath);

// Whether a school database is worth trying at the location: the file exists, or it is a
// server, which only a connection can tell.
bool schoolDatabaseMayExist(const QString& location);

// On a server, the identifier the pupils' program gave each stored run (column "Id"), with the
// run's rowid ("Beh"): a save whose outcome the program could not learn is stored once.
inline constexpr char StoredRunsTable[] = "Behy";

// A name between double quotes, as a table or a column is written in a statement.
QString quotedName(const char* name);

// One connection to an existing school database for as long as it lives, under a name no other
// connection uses. Opening never creates the database: a location that vanished or was mistyped
// must not leave an empty one behind. A database busy with another computer's write is waited
// for up to busyTimeoutMs from the opening, all waits together: a file's lock fairly among the
// computers waiting for it, a server's locked row for that long each.
class SchoolConnection
{
public:
    enum class Access
    {
        Read, // may not change a row; still rolls back what a killed writer left half done
        Write
    };
    static constexpr int DefaultBusyTimeoutMs = 10'000;

    SchoolConnection(const QString& location, Access access,
                     int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~SchoolConnection();
    SchoolConnection(const SchoolConnection&) = delete;
    SchoolConnection& operator=(const SchoolConnection&) = delete;

    QSqlDatabase& db() { return m_db; }
    // Empty when the connection is open; else the Czech reason.
    const QString& openError() const { return m_error; }
    // The engine's error behind openError, for deciding whether to try again; none when the
    // location itself cannot be used.
    const QSqlError& openFailure() const { return m_failure; }

    // From now on, a wait for another computer's lock ends `limit` from now. Empty on success,
    // else the reason.
    QString waitAtMost(std::chrono::milliseconds limit);

    // How long this connection has waited for a file's lock so far; a server's waits are not
    // counted.
    std::chrono::milliseconds lockWaited() const;

private:
    QString m_name;
    std::unique_ptr<LockWait> m_lockWait; // a file's; outlives the connection that calls it
    QSqlDatabase m_db;
    QString m_error;
    QSqlError m_failure;
};

// Starts a transaction for a write. In a file it holds the write lock from its first statement,
// so that a database busy with another writer is waited out through the busy timeout: a
// transaction that first reads and then wants to write would be refused at once. A server
// locks rows, not the database, so a plain transaction serves. Empty on success, else the
// reason.
QString beginWriting(QSqlDatabase& db);

// Ends the transaction beginWriting started, giving up what it wrote. Called after a failure that
// is reported already: its own failure goes to the log. Empty on success, else the reason.
QString rollBackWriting(QSqlDatabase& db);

// Whether the connection is to a server rather than to a file.
bool isServerConnection(const QSqlDatabase& db);

// Runs a statement as it stands when it has no values, else as runBound does: a server prepares
// only statements that read or write rows, not creating tables, granting rights or ending a
// transaction. Empty on success, else the reason.
QString runStatement(QSqlQuery& query, const QString& statement, const QVariantList& values = {});

// Prepares the statement, binds the values in order and runs it. Empty on success, else the
// reason. Only statements that read or write rows may be prepared on a server.
QString runBound(QSqlQuery& query, const QString& statement, const QVariantList& values = {});

// The reason the rows of a query that ran stopped coming before the last, if they did; else empty.
QString readFailure(const QSqlQuery& query);

// Runs the statements one after another as runStatement does, each with no values, stopping
// at the first that fails. Empty on success, else the reason.
QString runAll(QSqlDatabase& db, const QStringList& statements);

// Runs work in a transaction that keeps all of it or nothing: work returns an empty text on
// success, else the reason, and the transaction is then rolled back. Empty on success, else the
// reason.
template <typename Work> QString inOneTransaction(QSqlDatabase& db, Work work)
{
    if (!db.transaction()) {
        return databaseFailureReason(db.lastError());
    }
    if (const QString failure = work(); !failure.isEmpty()) {
        db.rollback();
        return failure;
    }
    if (!db.commit()) {
        const QString reason = databaseFailureReason(db.lastError());
        db.rollback();
        return reason;
    }
    return {};
}

// Binds the values in order to a statement prepared before and runs it. Empty on success, else
// the reason.
QString runPrepared(QSqlQuery& query, const QVariantList& values);

// Ends the transaction beginWriting started, keeping what it wrote. A server prepares only
// statements that read or write rows, so COMMIT must run as it stands, never prepared. Empty on
// success, else the reason.
QString commitWriting(QSqlDatabase& db);

} // namespace voltmetr
