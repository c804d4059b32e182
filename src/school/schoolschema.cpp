#include "school/schoolschema.h"

#include "school/failurereason.h"
#include "school/schooldatabase.h"
#include "school/serverrights.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <initializer_list>

namespace voltmetr {

namespace {

enum class ColumnType
{
    Text,
    Integer,
    Real
};

struct Column
{
    const char* name;
    ColumnType type;
};

struct Table
{
    const char* name;
    std::initializer_list<Column> columns;
};

// Both tables with their columns in the order a row is written.
const Table schoolTables[] = {
    {PupilsTable, {{"Prijmeni", ColumnType::Text}, {"Trida", ColumnType::Text}}},
    {ResultsTable,
     {{"Prijmeni", ColumnType::Text},
      {"Trida", ColumnType::Text},
      {"Spravne", ColumnType::Integer},
      {"Chybne", ColumnType::Integer},
      {"CasStrt", ColumnType::Real},
      {"CasEnd", ColumnType::Real},
      {"Datum", ColumnType::Real},
      {"Prihlasenjako", ColumnType::Text},
      {"TypZkous", ColumnType::Integer}}},
};

const Table taskLogTable = {TaskLogTable,
                            {{"Beh", ColumnType::Integer},
                             {"Poradi", ColumnType::Integer},
                             {"Dilku", ColumnType::Integer},
                             {"Napeti", ColumnType::Real},
                             {"PolaritaSpravne", ColumnType::Integer},
                             {"NejlepsiRozsah", ColumnType::Real},
                             {"Rozsah", ColumnType::Real},
                             {"ZmenRozsahu", ColumnType::Integer},
                             {"Prepolovani", ColumnType::Integer},
                             {"Pretizeni", ColumnType::Integer},
                             {"Znicen", ColumnType::Integer},
                             {"Zadano", ColumnType::Text},
                             {"Precteno", ColumnType::Real},
                             {"Vysledek", ColumnType::Integer},
                             {"Sekund", ColumnType::Real}}};

QString typeName(ColumnType type, bool server)
{
    switch (type) {
    case ColumnType::Text:
        return QStringLiteral("TEXT");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Real:
        // A server's REAL holds only six digits: a time of day would lose its seconds.
        return server ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
    }
    return {};
}

bool isMissingTable(const QSqlError& error)
{
    return error.nativeErrorCode() == QStringLiteral("42P01");
}

// Why a table could not be described: the engine's reason for reading it.
QString unreadableTable(QSqlDatabase& db, const char* table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(quotedName(table))) &&
        !isMissingTable(query.lastError())) {
        return databaseFailureReason(query.lastError());
    }
    return missingTableReason(QString::fromLatin1(table));
}

QString createTableStatement(const Table& table, bool server)
{
    QStringList columns;
    for (const Column& column : table.columns) {
        columns << quotedName(column.name) + u' ' + typeName(column.type, server);
    }
    // A server keeps no row order of its own: rows are read back in the order they were
    // written through a numbered column that the statements call rowid, as in a file.
    if (server) {
        columns << QStringLiteral("rowid BIGINT GENERATED ALWAYS AS IDENTITY");
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quotedName(table.name), columns.join(QStringLiteral(", ")));
}

// The task log with its index on the run.
QStringList taskLogStatements(bool server)
{
    return {
        createTableStatement(taskLogTable, server),
        QStringLiteral(R"(CREATE INDEX "Ulohy_Beh" ON %1 ("Beh"))").arg(quotedName(TaskLogTable))};
}

// The reports the teacher's tool has stored as runs, each once. On a server it belongs to the
// owner of the results, whoever of the teachers creates it, and the pupils get no right to it.
QStringList storedReportsStatements(bool server)
{
    const QString table = quotedName(StoredReportsTable);
    QStringList statements{
        QStringLiteral(R"(CREATE TABLE %1 ("Otisk" TEXT NOT NULL PRIMARY KEY))").arg(table)};
    if (server) {
        statements << QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC").arg(table)
                   << QStringLiteral("DO $$BEGIN EXECUTE format('ALTER TABLE %I OWNER TO %I', "
                                     "'%1', (SELECT tableowner FROM pg_tables WHERE schemaname = "
                                     "'public' AND tablename = '%2')); END$$")
                          .arg(QLatin1String(StoredReportsTable), QLatin1String(ResultsTable));
    }
    return statements;
}

// Empty when the table can be read and holds all its columns, else the reason.
QString checkTable(QSqlDatabase& db, const Table& table)
{
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
    return {};
}

QString createInTransaction(QSqlDatabase& db)
{
    const bool server = isServerConnection(db);
    QStringList statements;
    for (const Table& table : schoolTables) {
        statements << createTableStatement(table, server);
    }
    statements << QStringLiteral(R"(CREATE INDEX "Prehled_Prijmeni" ON %1 ("Prijmeni"))")
                      .arg(quotedName(ResultsTable));
    QString failure =
        runAll(db, statements + taskLogStatements(server) + storedReportsStatements(server));
    QStringList changes;
    return failure.isEmpty() && server ? establishServerRights(db, changes) : failure;
}

// The names of a table's columns in the order a row is written.
QStringList columnNames(const Table& table)
{
    QStringList names;
    for (const Column& column : table.columns) {
        names << QString::fromLatin1(column.name);
    }
    return names;
}

} // namespace

QString createSchoolSchema(QSqlDatabase& db)
{
    return inOneTransaction(db, [&] { return createInTransaction(db); });
}

QString addTaskLogTable(QSqlDatabase& db)
{
    return inOneTransaction(db,
                            [&] { return runAll(db, taskLogStatements(isServerConnection(db))); });
}

QStringList taskLogColumnNames()
{
    return columnNames(taskLogTable);
}

QStringList resultColumnNames()
{
    return columnNames(schoolTables[1]);
}

QString checkTaskLogTable(QSqlDatabase& db)
{
    return checkTable(db, taskLogTable);
}

QString addStoredReportsTable(QSqlDatabase& db)
{
    return inOneTransaction(db, [&] { return ensureStoredReportsTable(db); });
}

QString ensureStoredReportsTable(QSqlDatabase& db)
{
    if (!db.record(QString::fromLatin1(StoredReportsTable)).isEmpty()) {
        return {};
    }
    return runAll(db, storedReportsStatements(isServerConnection(db)));
}

QString bringServerRightsUpToDate(QSqlDatabase& db, QStringList& changes)
{
    return inOneTransaction(db, [&] { return establishServerRights(db, changes); });
}

bool schoolTablesPresent(QSqlDatabase& db)
{
    return std::any_of(std::begin(schoolTables), std::end(schoolTables), [&](const Table& table) {
        return !db.record(QString::fromLatin1(table.name)).isEmpty();
    });
}

QString checkSchoolSchema(QSqlDatabase& db)
{
    for (const Table& table : schoolTables) {
        if (QString missing = checkTable(db, table); !missing.isEmpty()) {
            return missing;
        }
    }
    return {};
}

} // namespace voltmetr
