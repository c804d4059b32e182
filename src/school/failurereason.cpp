#include "school/failurereason.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlError>
#include <algorithm>
#include <initializer_list>

namespace voltmetr {

Q_LOGGING_CATEGORY(lcDatabase, "voltmetr.database")

namespace {

QString inCzechQuotes(const QString& name)
{
    return QStringLiteral("„%1“").arg(name);
}

// SQLite says which table or column is missing only in its message, whose wording is fixed.
QString missingPart(const QString& engineText)
{
    static const QRegularExpression table(QStringLiteral("^no such table: (.*)$"));
    static const QRegularExpression column(QStringLiteral("^no such column: (.*)$"));
    static const QRegularExpression insertColumn(
        QStringLiteral("^table (.*) has no column named (.*)$"));
    if (const auto match = table.match(engineText); match.hasMatch()) {
        return missingTableReason(match.captured(1));
    }
    if (const auto match = column.match(engineText); match.hasMatch()) {
        return QStringLiteral("v databázi chybí sloupec %1").arg(inCzechQuotes(match.captured(1)));
    }
    if (const auto match = insertColumn.match(engineText); match.hasMatch()) {
        return missingColumnReason(match.captured(1), match.captured(2));
    }
    return {};
}

// Reasons that both engines give, each worded once.
constexpr char heldByAnother[] = "databázi právě zamyká jiný počítač a neuvolnil ji včas";
constexpr char noAccess[] = "k databázi není povolen přístup";
constexpr char readOnly[] = "do databáze nelze zapisovat, je jen pro čtení";
constexpr char diskFull[] = "disk s databází je plný";
constexpr char transactionPooling[] =
    "spojení sdílí sdružovač spojení v režimu transakcí; program žáků potřebuje režim relací "
    "(pool_mode = session)";

// SQLite's primary result codes; an extended code carries its primary one in the low byte.
QString sqliteReason(int code)
{
    switch (code & 0xff) {
    case 3:  // PERM
    case 23: // AUTH
        return QString::fromUtf8(noAccess);
    case 5: // BUSY
    case 6: // LOCKED
        return QString::fromUtf8(heldByAnother);
    case 7: // NOMEM
        return QStringLiteral("počítači došla paměť");
    case 8: // READONLY
        return QString::fromUtf8(readOnly);
    case 10: // IOERR
        return QStringLiteral("soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)");
    case 11: // CORRUPT
        return QStringLiteral("soubor databáze je poškozený");
    case 13: // FULL
        return QString::fromUtf8(diskFull);
    case 14: // CANTOPEN
        return QStringLiteral("soubor databáze nejde otevřít: chybí, nebo k němu není přístup");
    case 26: // NOTADB
        return QStringLiteral("soubor není databáze, nebo je poškozený");
    default:
        return {};
    }
}

// A server's five-character error codes (SQLSTATE): the exact code where it matters, else its
// class in the first two characters.
QString serverReason(const QString& state)
{
    static const struct
    {
        const char* code;
        const char* reason;
    } reasons[] = {
        {"42P01", "v databázi chybí tabulka"},
        {"42703", "v databázi chybí sloupec"},
        {"42501", noAccess},
        {"28", "databázový server odmítl přihlášení"},
        {"08", "spojení s databázovým serverem selhalo"},
        {"57", "databázový server právě nepracuje"},
        {"25006", readOnly},
        // A statement prepared on one server connection is looked for on another, or met there.
        {"26000", transactionPooling},
        {"42P05", transactionPooling},
        {"40", heldByAnother},
        {"55P03", heldByAnother},
        {"53100", diskFull},
        {"53200", "databázovému serveru došla paměť"},
    };
    for (const auto& known : reasons) {
        if (state.startsWith(QLatin1String(known.code))) {
            return QString::fromUtf8(known.reason);
        }
    }
    return QStringLiteral("databázový server ohlásil chybu %1").arg(state);
}

// A server that refuses a connection says why only in words: its own, which it has in English
// only, after the client library's, which may be Czech.
QString refusedConnectionReason(const QString& text)
{
    const auto says = [&](std::initializer_list<const char*> phrases) {
        return std::any_of(phrases.begin(), phrases.end(), [&](const char* phrase) {
            return text.contains(QLatin1String(phrase), Qt::CaseInsensitive);
        });
    };
    if (says({"too many clients", "connection slots", "starting up", "shutting down",
              "recovery mode", "no more connections allowed", "query_wait_timeout"})) {
        return QStringLiteral("databázový server je právě přetížený nebo se spouští a další "
                              "spojení nepřijal");
    }
    if (says({"authentication failed", "pg_hba.conf", "does not exist", "certificate", "password",
              "permission denied"})) {
        return QStringLiteral("databázový server odmítl přihlášení; správce ho povolí v "
                              "pg_hba.conf, žákům bez hesla (peer, cert nebo gss)");
    }
    return QStringLiteral("k databázovému serveru se nelze připojit: neběží nebo není dostupný");
}

QString databaseReason(const QSqlError& error)
{
    // SQLite's codes are numbers of at most four digits.
    if (error.nativeErrorCode().size() == 5) {
        return serverReason(error.nativeErrorCode());
    }
    if (const QString missing = missingPart(error.databaseText()); !missing.isEmpty()) {
        return missing;
    }
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    if (numeric) {
        if (const QString reason = sqliteReason(code); !reason.isEmpty()) {
            return reason;
        }
        return QStringLiteral("databáze ohlásila chybu č. %1").arg(code);
    }
    if (error.type() == QSqlError::ConnectionError &&
        error.driverText().startsWith(QStringLiteral("QPSQL"))) {
        return refusedConnectionReason(error.databaseText());
    }
    if (error.type() == QSqlError::ConnectionError) {
        return QStringLiteral("k databázi se nelze připojit (chybí ovladač databáze?)");
    }
    return QStringLiteral("neznámá chyba databáze");
}

} // namespace

bool meansHeldByAnother(const QString& reason)
{
    return reason == QString::fromUtf8(heldByAnother);
}

bool mayTryAgain(const QSqlError& error, bool server)
{
    const QString state = error.nativeErrorCode();
    if (error.type() == QSqlError::NoError) {
        return false;
    }
    if (!server) {
        const int code = state.toInt() & 0xff;
        return code == 5 || code == 6; // BUSY, LOCKED
    }
    // No code at all: the connection broke, and whether the server kept the work is unknown.
    static const QStringList transient = {QStringLiteral("08"),    QStringLiteral("40"),
                                          QStringLiteral("55P03"), QStringLiteral("53300"),
                                          QStringLiteral("57P01"), QStringLiteral("57P02"),
                                          QStringLiteral("57P03"), QStringLiteral("23505")};
    return state.isEmpty() ||
           std::any_of(transient.begin(), transient.end(),
                       [&](const QString& prefix) { return state.startsWith(prefix); });
}

QSqlError closedWhileOpeningError()
{
    return QSqlError(QStringLiteral("QPSQL: Unable to connect"),
                     QStringLiteral("the connection was closed while it was being set up, as a "
                                    "pooler closes one that waited too long (query_wait_timeout)"),
                     QSqlError::ConnectionError);
}

QString transactionPoolingReason()
{
    return QString::fromUtf8(transactionPooling);
}

QString missingTableReason(const QString& table)
{
    return QStringLiteral("v databázi chybí tabulka %1").arg(inCzechQuotes(table));
}

QString missingColumnReason(const QString& table, const QString& column)
{
    return QStringLiteral("v tabulce %1 chybí sloupec %2")
        .arg(inCzechQuotes(table), inCzechQuotes(column));
}

QString databaseFailureReason(const QSqlError& error)
{
    qCWarning(lcDatabase).noquote()
        << QStringLiteral("error %1: %2").arg(error.nativeErrorCode(), error.text());
    return databaseReason(error);
}

} // namespace voltmetr
