#include "results/resultsstore.h"

#include "results/failurereason.h"
#include "results/schooldatabase.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <atomic>

namespace voltmetr {

namespace {

// The one place that names the database engine.
constexpr char DatabaseDriver[] = "QSQLITE";

enum class Access
{
    Read,
    Write
};

// A connection of its own for one call, under a name no other call uses, removed again when
// the call is done.
class Connection
{
public:
    Connection(const QString& path, Access access, int busyTimeoutMs)
        : m_name(QStringLiteral("voltmetr-store-%1").arg(nextNumber()))
    {
        m_db = QSqlDatabase::addDatabase(QString::fromLatin1(DatabaseDriver), m_name);
        // A URI with mode=ro or mode=rw opens an existing file only: a path that vanished
        // since sign-in must not leave an empty database behind.
        QUrl uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        uri.setQuery(access == Access::Read ? QStringLiteral("mode=ro")
                                            : QStringLiteral("mode=rw"));
        m_db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        QString options =
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (access == Access::Read) {
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        }
        m_db.setConnectOptions(options);
        if (!m_db.open()) {
            m_error = databaseFailureReason(m_db.lastError());
        }
    }

    ~Connection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase& db() { return m_db; }
    const QString& openError() const { return m_error; }

private:
    static unsigned long long nextNumber()
    {
        static std::atomic<unsigned long long> counter{0};
        return ++counter;
    }

    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

QString quoted(const char* identifier)
{
    return u'"' + QString::fromLatin1(identifier) + u'"';
}

// A column named with its table. SQLite reads an unqualified double-quoted name that matches
// no column as a text literal, so a missing "Prijmeni" would silently read as the word
// Prijmeni; qualified, it is an error.
QString column(const char* table, const char* name)
{
    return quoted(table) + u'.' + quoted(name);
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

QString insertRow(QSqlDatabase& db, const ResultRow& row)
{
    // IMMEDIATE takes the write lock at the start, so a busy file is waited out through the
    // busy timeout. A deferred transaction would first read, then ask for the write lock, and
    // SQLite refuses that at once, without waiting, when another writer is committing.
    QSqlQuery statement(db);
    QString error = run(statement, QStringLiteral("BEGIN IMMEDIATE"));
    if (!error.isEmpty()) {
        return error;
    }
    error =
        run(statement,
            QStringLiteral("INSERT INTO %1 (\"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                           "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", \"TypZkous\") "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(quoted(ResultsTable)),
            {storedText(row.surname), storedText(row.className), row.rightCount, row.wrongCount,
             row.startTime, row.endTime, row.date, storedText(row.loginName), row.examType});
    if (error.isEmpty()) {
        error = run(statement, QStringLiteral("COMMIT"));
    }
    if (!error.isEmpty()) {
        QSqlQuery rollback(db);
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
    return error;
}

} // namespace

ResultsStore::ResultsStore(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs)
{
}

PupilsRead ResultsStore::readPupils() const
{
    PupilsRead result;
    Connection connection(m_path, Access::Read, m_busyTimeoutMs);
    if (!connection.openError().isEmpty()) {
        result.error = connection.openError();
        return result;
    }
    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    result.error = run(query, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY rowid")
                                  .arg(column(PupilsTable, "Prijmeni"),
                                       column(PupilsTable, "Trida"), quoted(PupilsTable)));
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

RunStored ResultsStore::appendRun(const ResultRow& row) const
{
    RunStored result;
    Connection connection(m_path, Access::Write, m_busyTimeoutMs);
    if (!connection.openError().isEmpty()) {
        result.error = connection.openError();
        return result;
    }
    result.error = insertRow(connection.db(), row);
    if (!result.error.isEmpty()) {
        return result;
    }
    result.stored = true;
    // A NULL count adds nothing; TOTAL would give a float, so SUM is wrapped instead.
    QSqlQuery sum(connection.db());
    result.error =
        run(sum,
            QStringLiteral("SELECT COALESCE(SUM(%1), 0), COALESCE(SUM(%2), 0) FROM %3 WHERE %4 = ?")
                .arg(column(ResultsTable, "Spravne"), column(ResultsTable, "Chybne"),
                     quoted(ResultsTable), column(ResultsTable, "Prijmeni")),
            {storedText(row.surname)});
    if (result.error.isEmpty()) {
        if (sum.next()) {
            result.totals = PupilTotals{sum.value(0).toLongLong(), sum.value(1).toLongLong()};
        } else {
            result.error = databaseFailureReason(sum.lastError());
        }
    }
    return result;
}

} // namespace voltmetr
