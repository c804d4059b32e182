#pragma once

#include <QSqlDatabase>
#include <QString>

namespace voltmetr {

// Everything about the school database that the pupils' program and the teacher's tool share:
// where it is, how a connection to it is opened, and the two tables it must hold.
//
// "Zaci" lists the pupils, "Prehled " (with its trailing blank) gets one row per finished
// school-server run. Dates are days since 30 December 1899.
inline constexpr char PupilsTable[] = "Zaci";
inline constexpr char ResultsTable[] = "Prehled ";

// Where the school database is looked for: VOLTMETR_DB when it is set and not empty, else the
// location fixed when the program was built.
QString schoolDatabasePath();

// A name between double quotes, as a table or a column is written in a statement.
QString quotedName(const char* name);

// One connection to an existing school database for as long as it lives, under a name no other
// connection uses. Opening never creates the database: a location that vanished or was mistyped
// must not leave an empty one behind. A database busy with another computer's write is waited
// for up to busyTimeoutMs.
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

private:
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

// Creates both tables and the surname index in an empty database. Returns an empty text on
// success, else the reason.
QString createSchoolSchema(QSqlDatabase& db);

// Empty when both tables can be read and hold every column the program uses; else the Czech
// reason, naming the table or the column that is missing.
QString checkSchoolSchema(QSqlDatabase& db);

// Starts a transaction that holds the write lock from its first statement, so that a database
// busy with another writer is waited out through the busy timeout. A transaction that first
// reads and then wants to write would be refused at once. Empty on success, else the reason.
QString beginWriting(QSqlDatabase& db);

} // namespace voltmetr
