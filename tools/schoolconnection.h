#pragma once

#include <QSqlDatabase>
#include <QString>

namespace voltmetr::teacher {

// One connection to an existing school database, closed when it goes out of scope. The file
// is never created here: SQLite would make an empty database of a mistyped path.
class SchoolConnection
{
public:
    enum class Access
    {
        ReadOnly,
        ReadWrite
    };

    SchoolConnection(const QString& path, Access access);
    ~SchoolConnection();
    SchoolConnection(const SchoolConnection&) = delete;
    SchoolConnection& operator=(const SchoolConnection&) = delete;

    // Empty when the database is open and holds the tables the program uses; else a Czech
    // reason naming the file.
    const QString& error() const { return m_error; }
    QSqlDatabase& database() { return m_database; }

private:
    QString m_connectionName;
    QSqlDatabase m_database;
    QString m_error;
};

// A statement's failure for the teacher: what was being done and the engine's words.
QString databaseFailure(const QString& doing, const QString& reason);

} // namespace voltmetr::teacher
