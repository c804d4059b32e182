#include "school/schooldatabase.h"

#include "app/procedury.h"
#include "school/failurereason.h"
#include "school/lockwait.h"
#include "school/schoolsettings.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <atomic>
#include <optional>

namespace voltmetr {

namespace {

const QString sqliteDriver = QStringLiteral("QSQLITE");
const QString serverDriver = QString::fromLatin1(ServerDriver);

unsigned long long nextConnectionNumber()
{
    static std::atomic<unsigned long long> counter{0};
    return ++counter;
}

QString driverFor(const QString& location)
{
    return isServerLocation(location) ? serverDriver : sqliteDriver;
}

void describeFile(QSqlDatabase& db, const QString& location)
{
    db.setDatabaseName(sqliteFileUri(QFileInfo(location).absoluteFilePath()));
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

// What the connection relies on, set by itself: on a server, a role's own defaults (which any
// role may change for itself, and so any pupil for the whole class) must change nothing. A
// reading connection may not change a row. A file is still opened for writing: a writer killed
// in the middle of a save leaves a journal beside the file, and only a connection that may write
// can roll it back. Without that, every later reader would be refused.
QString setOwnSettings(QSqlDatabase& db, SchoolConnection::Access access, int busyTimeoutMs,
                       QSqlError& failed)
{
    const bool readOnly = access == SchoolConnection::Access::Read;
    QSqlQuery query(db);
    if (!isServerConnection(db)) {
        return readOnly ? runStatement(query, QStringLiteral("PRAGMA query_only = 1")) : QString();
    }
    const QString limit = QString::number(std::max(1, busyTimeoutMs)); // 0 would be none
    const std::pair<const char*, QString> settings[] = {
        {"default_transaction_read_only", readOnly ? QStringLiteral("on") : QStringLiteral("off")},
        {"default_transaction_isolation", QStringLiteral("read committed")},
        {"statement_timeout", limit},
        {"lock_timeout", limit},
        {"idle_in_transaction_session_timeout", limit},
        {"search_path", QStringLiteral("public")},
    };
    QStringList calls;
    QVariantList values;
    for (const auto& [name, value] : settings) {
        calls << QStringLiteral("set_config(?, ?, false)");
        values << QString::fromLatin1(name) << value;
    }
    // A role whose own statement_timeout is tiny may cancel this very statement, or leave a cancel
    // behind for the next: set until it holds, then let a statement that does nothing take
    // whatever was left behind.
    const QString statement = QStringLiteral("SELECT ") + calls.join(QStringLiteral(", "));
    QString failure;
    for (int attempt = 0; attempt < 3; ++attempt) {
        failure = runBound(query, statement, values);
        if (failure.isEmpty()) {
            // The program's statements are short, or add up a few columns of many rows:
            // compiling them to machine code takes longer than it saves (a school's statistics by
            // a third). Set apart, under the timeout just set: a server older than the compiler
            // has no such setting, and a statement that fails there changes nothing.
            QSqlQuery(db).exec(QStringLiteral("SELECT set_config('jit', 'off', false)"));
            QSqlQuery(db).exec(QStringLiteral("SELECT 1"));
            return {};
        }
        if (query.lastError().nativeErrorCode() != QStringLiteral("57014")) { // query_canceled
            break;
        }
    }
    failed = query.lastError();
    return failure;
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

QString sqliteFileUri(const QString& absolutePath)
{
    QUrl uri;
    uri.setScheme(QStringLiteral("file"));
    uri.setHost(QStringLiteral("")); // an empty host, not none: "file://" and the path
    uri.setPath(absolutePath.startsWith(u'/') ? absolutePath : u'/' + absolutePath);
    uri.setQuery(QStringLiteral("mode=rw"));
    return uri.toString(QUrl::FullyEncoded);
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
    m_db = QSqlDatabase::addDatabase(driverFor(location), m_name);
    if (isServerLocation(location)) {
        m_error = describeServer(m_db, location, busyTimeoutMs);
    } else {
        m_lockWait = std::make_unique<LockWait>(std::chrono::milliseconds(busyTimeoutMs));
        describeFile(m_db, location);
    }
    if (!m_error.isEmpty()) {
        return;
    }
    if (!m_db.open() || !m_db.isOpen()) {
        // A pooler closes a connection that waited in its queue too long while the driver is
        // still setting it up, and the driver opens it all the same.
        m_failure = m_db.isOpenError() ? m_db.lastError() : closedWhileOpeningError();
        m_error = databaseFailureReason(m_failure);
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
            m_failure = m_db.lastError();
            m_error = databaseFailureReason(m_failure);
            return;
        }
    }
    m_error = setOwnSettings(m_db, access, busyTimeoutMs, m_failure);
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
    return runStatement(query, QStringLiteral("SELECT set_config('lock_timeout', ?, false)"),
                        {QString::number(std::max<long long>(1, limit.count()))});
}

SchoolConnection::~SchoolConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QString beginWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return runStatement(query, isServerConnection(db) ? QStringLiteral("BEGIN")
                                                      : QStringLiteral("BEGIN IMMEDIATE"));
}

QString rollBackWriting(QSqlDatabase& db)
{
    QSqlQuery query(db);
    return runStatement(query, QStringLiteral("ROLLBACK"));
}

bool isServerConnection(const QSqlDatabase& db)
{
    return db.driverName() == serverDriver;
}

QString runStatement(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!values.isEmpty()) {
        return runBound(query, statement, values);
    }
    return query.exec(statement) ? QString() : databaseFailureReason(query.lastError());
}

QString runBound(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!query.prepare(statement)) {
        return databaseFailureReason(query.lastError());
    }
    return runPrepared(query, values);
}

QString readFailure(const QSqlQuery& query)
{
    return query.lastError().isValid() ? databaseFailureReason(query.lastError()) : QString();
}

QString runAll(QSqlDatabase& db, const QStringList& statements)
{
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (QString failure = runStatement(query, statement); !failure.isEmpty()) {
            return failure;
        }
    }
    return {};
}

QString runPrepared(QSqlQuery& query, const QVariantList& values)
{
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
    return runStatement(query, QStringLiteral("COMMIT"));
}

} // namespace voltmetr
