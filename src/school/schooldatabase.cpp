#include "school/schooldatabase.h"

#include "app/procedury.h"
#include "school/failurereason.h"
#include "school/lockwait.h"
#include "school/schoolsettings.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <optional>

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

const QString sqliteDriver = QStringLiteral("QSQLITE");
const QString serverDriver = QStringLiteral("QPSQL");

bool onServer(const QSqlDatabase& db)
{
    return db.driverName() == serverDriver;
}

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

unsigned long long nextConnectionNumber()
{
    static std::atomic<unsigned long long> counter{0};
    return ++counter;
}

// Runs a statement with its values bound; empty on success, else the reason. A statement
// without values runs as it stands: a server prepares only reading and writing rows, not
// creating tables, granting rights or ending a transaction.
QString execute(QSqlQuery& query, const QString& statement, const QVariantList& values = {})
{
    if (!values.isEmpty()) {
        return runBound(query, statement, values);
    }
    return query.exec(statement) ? QString() : databaseFailureReason(query.lastError());
}

QString driverFor(const QString& location)
{
    return isServerLocation(location) ? serverDriver : sqliteDriver;
}

// A file opens as a URI whose mode=rw opens an existing file only.
void describeFile(QSqlDatabase& db, const QString& location)
{
    QUrl uri = QUrl::fromLocalFile(QFileInfo(location).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
}

// One keyword='value' of a server connection, quoted as the server's client library reads it.
// The driver joins its options with ";", so a value may not hold one.
std::optional<QString> serverOption(const QString& keyword, const QString& value)
{
    static const QRegularExpression word(QStringLiteral("^[a-z_]+$"));
    if (!word.match(keyword).hasMatch() || value.contains(u';')) {
        return std::nullopt;
    }
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return QStringLiteral("%1='%2'").arg(keyword, quoted);
}

// The driver hands the database name to the client library quoted, so an address given as the
// name would be taken for a database called so: the address is taken apart here instead. Empty
// on success, else the Czech reason the location cannot be used.
QString describeServer(QSqlDatabase& db, const QString& location, int busyTimeoutMs)
{
    const QString unusable =
        QStringLiteral("adresa databázového serveru %1 je chybná").arg(location);
    const QString withPassword =
        QStringLiteral("heslo nepatří do adresy databáze, ale do souboru hesel (~/.pgpass)");
    QStringList options;
    bool timeoutGiven = false;
    const auto addOption = [&](const QString& keyword, const QString& value) {
        const std::optional<QString> option = serverOption(keyword, value);
        if (!option) {
            return false;
        }
        timeoutGiven = timeoutGiven || keyword == QStringLiteral("connect_timeout");
        options << *option;
        return true;
    };
    static const QString servicePrefix = QStringLiteral("service=");
    if (location.startsWith(servicePrefix)) {
        if (!addOption(QStringLiteral("service"), location.mid(servicePrefix.size())) ||
            location.size() == servicePrefix.size()) {
            return unusable;
        }
    } else {
        const QUrl url(location, QUrl::StrictMode);
        if (!url.isValid()) {
            return unusable;
        }
        if (!url.password().isEmpty()) {
            return withPassword;
        }
        db.setHostName(url.host());
        db.setPort(url.port(-1));
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        for (const auto& [keyword, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
            if (keyword == QStringLiteral("password")) {
                return withPassword;
            }
            if (!addOption(keyword, value)) {
                return unusable;
            }
        }
    }
    // A server that does not answer must not hold a pupil at a frozen window.
    if (!timeoutGiven) {
        addOption(QStringLiteral("connect_timeout"),
                  QString::number(std::max(2, busyTimeoutMs / 1000)));
    }
    db.setConnectOptions(options.join(u';'));
    return {};
}

// A reading connection may not change a row. A file is still opened for writing: a writer
// killed in the middle of a save leaves a journal beside the file, and only a connection that
// may write can roll it back. Without that, every later reader would be refused.
QString forbidChanges(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return execute(
        query, onServer(db) ? QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")
                            : QStringLiteral("PRAGMA query_only = 1"));
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

// Creates the role unless the server has it. Roles belong to the whole server: another school
// database on it may have created them already, or be creating them at this moment; then the
// other's role serves, and this transaction goes on from the savepoint.
QString createRoleIfMissing(QSqlDatabase& db, const char* role)
{
    QSqlQuery query(db);
    if (const QString failure =
            execute(query, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"),
                    {QString::fromLatin1(role)});
        !failure.isEmpty() || query.next()) {
        return failure;
    }
    if (const QString failure = execute(query, QStringLiteral("SAVEPOINT vytvoreni_role"));
        !failure.isEmpty()) {
        return failure;
    }
    if (query.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(quotedName(role)))) {
        return execute(query, QStringLiteral("RELEASE SAVEPOINT vytvoreni_role"));
    }
    static const QStringList createdByAnother = {QStringLiteral("42710"),  // duplicate_object
                                                 QStringLiteral("23505")}; // unique_violation
    if (!createdByAnother.contains(query.lastError().nativeErrorCode())) {
        return databaseFailureReason(query.lastError());
    }
    return execute(query, QStringLiteral("ROLLBACK TO SAVEPOINT vytvoreni_role"));
}

// The statements that give the tables to the teacher's role and the pupils' role its rights.
// Nobody else may create anything in the database.
QStringList serverGrants()
{
    const QString pupils = quotedName(PupilsTable);
    const QString results = quotedName(ResultsTable);
    const QString teacher = quotedName(TeacherRole);
    const QString pupil = quotedName(PupilsRole);
    return {
        QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
        QStringLiteral("REVOKE ALL ON %1, %2 FROM PUBLIC").arg(pupils, results),
        QStringLiteral("GRANT USAGE ON SCHEMA public TO %1, %2").arg(teacher, pupil),
        QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(pupils, teacher),
        QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(results, teacher),
        QStringLiteral("GRANT SELECT ON %1 TO %2").arg(pupils, pupil),
        QStringLiteral("GRANT SELECT, INSERT ON %1 TO %2").arg(results, pupil),
    };
}

// The task log with its index on the run, and on a server the same rights as the results.
QStringList taskLogStatements(bool server)
{
    QStringList statements{
        createTableStatement(taskLogTable, server),
        QStringLiteral(R"(CREATE INDEX "Ulohy_Beh" ON %1 ("Beh"))").arg(quotedName(TaskLogTable))};
    if (server) {
        const QString tasks = quotedName(TaskLogTable);
        statements
            << QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC").arg(tasks)
            << QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(tasks, quotedName(TeacherRole))
            << QStringLiteral("GRANT SELECT, INSERT ON %1 TO %2")
                   .arg(tasks, quotedName(PupilsRole));
    }
    return statements;
}

// The reports the teacher's tool has stored as runs, each once; the pupils get no right to it.
QStringList storedReportsStatements(bool server)
{
    const QString table = quotedName(StoredReportsTable);
    QStringList statements{
        QStringLiteral(R"(CREATE TABLE %1 ("Otisk" TEXT NOT NULL PRIMARY KEY))").arg(table)};
    if (server) {
        statements
            << QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC").arg(table)
            << QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(table, quotedName(TeacherRole));
    }
    return statements;
}

QString executeAll(QSqlDatabase& db, const QStringList& statements)
{
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (QString failure = execute(query, statement); !failure.isEmpty()) {
            return failure;
        }
    }
    return {};
}

// Runs create in a transaction that keeps all of it or nothing.
template <typename Create> QString inOneTransaction(QSqlDatabase& db, Create create)
{
    if (!db.transaction()) {
        return databaseFailureReason(db.lastError());
    }
    if (const QString failure = create(); !failure.isEmpty()) {
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
    const bool server = onServer(db);
    QStringList statements;
    for (const Table& table : schoolTables) {
        statements << createTableStatement(table, server);
    }
    statements << QStringLiteral(R"(CREATE INDEX "Prehled_Prijmeni" ON %1 ("Prijmeni"))")
                      .arg(quotedName(ResultsTable));
    if (server) {
        for (const char* role : {TeacherRole, PupilsRole}) {
            if (QString failure = createRoleIfMissing(db, role); !failure.isEmpty()) {
                return failure;
            }
        }
        statements << serverGrants();
    }
    return executeAll(db, statements + taskLogStatements(server) + storedReportsStatements(server));
}

} // namespace

QString schoolDatabasePath()
{
    return configuredDatabaseLocation().value;
}

bool isServerLocation(const QString& location)
{
    return location.startsWith(QStringLiteral("postgresql://")) ||
           location.startsWith(QStringLiteral("postgres://")) ||
           location.startsWith(QStringLiteral("service="));
}

bool schoolDatabaseMayExist(const QString& location)
{
    return isServerLocation(location) || FileExists(location);
}

QString quotedName(const char* name)
{
    return u'"' + QString::fromLatin1(name) + u'"';
}

SchoolConnection::SchoolConnection(const QString& location, Access access, int busyTimeoutMs)
    : m_name(QStringLiteral("voltmetr-skola-%1").arg(nextConnectionNumber()))
{
    const std::chrono::milliseconds busyTimeout(busyTimeoutMs);
    m_db = QSqlDatabase::addDatabase(driverFor(location), m_name);
    if (isServerLocation(location)) {
        m_error = describeServer(m_db, location, busyTimeoutMs);
    } else {
        m_lockWait = std::make_unique<LockWait>(busyTimeout);
        describeFile(m_db, location);
    }
    if (!m_error.isEmpty()) {
        return;
    }
    if (!m_db.open()) {
        m_error = databaseFailureReason(m_db.lastError());
        return;
    }
    // A file is first read only by the first statement, which must already wait fairly: it may
    // find another computer rolling back what a killed writer left.
    if (m_lockWait && !m_lockWait->attachTo(m_db)) {
        qCWarning(lcDatabase) << "the SQLite driver gave no handle to wait on; SQLite's own wait "
                                 "serves this connection";
        m_db.close();
        m_db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        if (!m_db.open()) {
            m_error = databaseFailureReason(m_db.lastError());
            return;
        }
    }
    if (!m_lockWait) {
        m_error = waitAtMost(busyTimeout);
    }
    if (m_error.isEmpty() && access == Access::Read) {
        m_error = forbidChanges(m_db);
    }
}

std::chrono::milliseconds SchoolConnection::lockWaited() const
{
    return m_lockWait ? std::chrono::duration_cast<std::chrono::milliseconds>(m_lockWait->paused())
                      : std::chrono::milliseconds(0);
}

QString SchoolConnection::waitAtMost(std::chrono::milliseconds limit)
{
    if (m_lockWait) {
        m_lockWait->waitAtMost(limit);
        return {};
    }
    // A server waits for a locked row that long at most, each time; never for ever.
    QSqlQuery query(m_db);
    return execute(query, QStringLiteral("SELECT set_config('lock_timeout', ?, false)"),
                   {QString::number(std::max<long long>(1, limit.count()))});
}

SchoolConnection::~SchoolConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QString createSchoolSchema(QSqlDatabase& db)
{
    return inOneTransaction(db, [&] { return createInTransaction(db); });
}

QString addTaskLogTable(QSqlDatabase& db)
{
    return inOneTransaction(db, [&] { return executeAll(db, taskLogStatements(onServer(db))); });
}

QStringList taskLogColumnNames()
{
    QStringList names;
    for (const Column& column : taskLogTable.columns) {
        names << QString::fromLatin1(column.name);
    }
    return names;
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
    return executeAll(db, storedReportsStatements(onServer(db)));
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

QString beginWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return execute(query,
                   onServer(db) ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

QString rollBackWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return execute(query, QStringLiteral("ROLLBACK"));
}

QString runBound(QSqlQuery& query, const QString& statement, const QVariantList& values)
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

QString commitWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return execute(query, QStringLiteral("COMMIT"));
}

} // namespace voltmetr
