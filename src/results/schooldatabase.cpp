#include "results/schooldatabase.h"

#include "results/failurereason.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>
#include <atomic>
#include <initializer_list>

namespace voltmetr {

namespace {

struct Column
{
    const char* name;
    const char* type;
};

struct Table
{
    const char* name;
    std::initializer_list<Column> columns;
};

// Both tables with their columns in the order a row is written.
const Table schoolTables[] = {
    {PupilsTable, {{"Prijmeni", "TEXT"}, {"Trida", "TEXT"}}},
    {ResultsTable,
     {{"Prijmeni", "TEXT"},
      {"Trida", "TEXT"},
      {"Spravne", "INTEGER"},
      {"Chybne", "INTEGER"},
      {"CasStrt", "REAL"},
      {"CasEnd", "REAL"},
      {"Datum", "REAL"},
      {"Prihlasenjako", "TEXT"},
      {"TypZkous", "INTEGER"}}},
};

unsigned long long nextConnectionNumber()
{
    static std::atomic<unsigned long long> counter{0};
    return ++counter;
}

// The database engine follows from the location. Every location is a file today: SQLite,
// opened as a URI whose mode=rw opens an existing file only. A server would be told by its
// location and get a case of its own here.
void describeLocation(QSqlDatabase& db, const QString& location, int busyTimeoutMs)
{
    QUrl uri = QUrl::fromLocalFile(QFileInfo(location).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
}

QString driverFor(const QString& /*location*/)
{
    return QStringLiteral("QSQLITE");
}

// A reading connection opens the file for writing too: a writer killed in the middle of a save
// leaves a journal beside the file, and only a connection that may write can roll it back.
// Without that, every later reader would be refused. It still may not change a row.
QString forbidChanges(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA query_only = 1"))) {
        return databaseFailureReason(query.lastError());
    }
    return {};
}

// Why a table could not be described: the engine's reason for reading it.
QString unreadableTable(QSqlDatabase& db, const char* table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE 0").arg(quotedName(table)))) {
        return databaseFailureReason(query.lastError());
    }
    return missingTableReason(QString::fromLatin1(table));
}

} // namespace

QString schoolDatabasePath()
{
    const QString fromEnvironment = qEnvironmentVariable("VOLTMETR_DB");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    return QStringLiteral(VOLTMETR_DEFAULT_DB);
}

QString quotedName(const char* name)
{
    return u'"' + QString::fromLatin1(name) + u'"';
}

SchoolConnection::SchoolConnection(const QString& location, Access access, int busyTimeoutMs)
    : m_name(QStringLiteral("voltmetr-skola-%1").arg(nextConnectionNumber()))
{
    m_db = QSqlDatabase::addDatabase(driverFor(location), m_name);
    describeLocation(m_db, location, busyTimeoutMs);
    if (!m_db.open()) {
        m_error = databaseFailureReason(m_db.lastError());
    } else if (access == Access::Read) {
        m_error = forbidChanges(m_db);
    }
}

SchoolConnection::~SchoolConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QString createSchoolSchema(QSqlDatabase& db)
{
    QStringList statements;
    for (const Table& table : schoolTables) {
        QStringList columns;
        for (const Column& column : table.columns) {
            columns << quotedName(column.name) + u' ' + QString::fromLatin1(column.type);
        }
        statements << QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(quotedName(table.name), columns.join(QStringLiteral(", ")));
    }
    statements << QStringLiteral(R"(CREATE INDEX "Prehled_Prijmeni" ON %1 ("Prijmeni"))")
                      .arg(quotedName(ResultsTable));
    if (!db.transaction()) {
        return databaseFailureReason(db.lastError());
    }
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            const QString reason = databaseFailureReason(query.lastError());
            db.rollback();
            return reason;
        }
    }
    if (!db.commit()) {
        return databaseFailureReason(db.lastError());
    }
    return {};
}

QString checkSchoolSchema(QSqlDatabase& db)
{
    for (const Table& table : schoolTables) {
        const QSqlRecord record = db.record(QString::fromLatin1(table.name));
        if (record.isEmpty()) {
            return unreadableTable(db, table.name);
        }
        for (const Column& column : table.columns) {
            if (!record.contains(QString::fromLatin1(column.name))) {
                return missingColumnReason(QString::fromLatin1(table.name),
                                           QString::fromLatin1(column.name));
            }
        }
    }
    return {};
}

QString beginWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return databaseFailureReason(query.lastError());
    }
    return {};
}

} // namespace voltmetr
