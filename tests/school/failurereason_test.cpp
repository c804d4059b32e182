// What a pupil or a teacher reads after "Důvod:" when the school database or a file fails
// them: the Czech reason, whole; no word of the engine's or the system's English gets through.
#include "app/filewrite.h"
#include "report/reportfile.h"
#include "school/failurereason.h"
#include "school/resultsstore.h"
#include "support/schoolfile.h"
#include "support/unwritable.h"

#include <QDir>
#include <cerrno>
#include <functional>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using testing::SchoolFile;

const QString busy = u"databázi právě zamyká jiný počítač a neuvolnil ji včas"_s;
const QString denied = u"k databázi není povolen přístup"_s;
const QString readOnly = u"do databáze nelze zapisovat, je jen pro čtení"_s;
const QString diskFull = u"disk s databází je plný"_s;
const QString ioError = u"soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)"_s;

// Writes bytes into the file from offset on, creating it if need be; the file's path.
QString written(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(offset) &&
                file.write(bytes) == bytes.size());
    return path;
}

QString executed(SchoolFile& file, const char* statement)
{
    file.exec(QString::fromUtf8(statement));
    return file.path();
}

QString pupilsError(const QString& path)
{
    return ResultsStore(path, 100).readPupils().error;
}

// A row that failed must not count as stored.
QString storeError(const QString& path)
{
    const RunStored run = ResultsStore(path, 100).appendRun({});
    return run.stored() ? u"(uloženo)"_s : run.error;
}

// Each failure made to happen for real on a file.
TEST(FailureReason, EachFailureOfAFileIsNamedInCzech)
{
    const std::tuple<const char*, std::function<QString(SchoolFile&)>, QString> cases[] = {
        {"a text file that is not a database",
         [](SchoolFile& f) { return pupilsError(written(f.folder() + u"/z.txt"_s, 0, "Novák")); },
         u"soubor není databáze, nebo je poškozený"_s},
        {"a file that another computer holds at sign-in",
         [](SchoolFile& f) { return pupilsError(executed(f, "BEGIN EXCLUSIVE")); }, busy},
        {"the pupils' table missing",
         [](SchoolFile& f) { return pupilsError(executed(f, "DROP TABLE \"Zaci\"")); },
         u"v databázi chybí tabulka „Zaci“"_s},
        {"the results table missing",
         [](SchoolFile& f) { return storeError(executed(f, "DROP TABLE \"Prehled \"")); },
         u"v databázi chybí tabulka „Prehled “"_s},
        {"the login column missing",
         [](SchoolFile& f) {
             return storeError(executed(f, "ALTER TABLE \"Prehled \" DROP Prihlasenjako"));
         },
         u"v tabulce „Prehled “ chybí sloupec „Prihlasenjako“"_s},
        // Page 2 holds the pupils' table; its page header becomes nonsense.
        {"a damaged file",
         [](SchoolFile& f) { return pupilsError(written(f.path(), 4096, QByteArray(16, 127))); },
         u"soubor databáze je poškozený"_s},
        // A file format newer than the engine's for writing: it may be read, not written.
        {"a file that may not be written",
         [](SchoolFile& f) { return storeError(written(f.path(), 18, "\x03")); }, readOnly},
        // The test's own connection may not grow the file by a single page, as on a full disk.
        {"a disk that is full",
         [](SchoolFile& f) {
             QSqlQuery query(f.database());
             query.exec(u"PRAGMA max_page_count = 1"_s);
             EXPECT_FALSE(query.exec(u"INSERT INTO Zaci VALUES (zeroblob(1e5), '')"_s));
             return databaseFailureReason(query.lastError());
         },
         diskFull},
    };
    for (const auto& [name, fail, reason] : cases) {
        SchoolFile file;
        EXPECT_EQ(fail(file), reason) << name;
    }
}

// Every code the engines give, with the driver's kind of error where no code comes. A file's
// engine gives numbers whose low byte is the primary code; a server gives five characters, of
// which an exact code is looked up before its two-character class. Only "held by another" may
// be tried again.
TEST(FailureReason, EveryEngineCodeHasItsReason)
{
    constexpr auto statement = QSqlError::StatementError;
    constexpr auto connection = QSqlError::ConnectionError;
    const QString noServer =
        u"k databázovému serveru se nelze připojit: neběží, není dostupný, nebo odmítl přihlášení"_s;
    const auto serverCode = [](const char* code) {
        return u"databázový server ohlásil chybu %1"_s.arg(QLatin1String(code));
    };
    const struct
    {
        const char* code;
        const char* engineText;
        QSqlError::ErrorType type;
        QString reason;
    } cases[] = {
        {"3", "", statement, denied},
        {"23", "", statement, denied},
        {"5", "", statement, busy},
        {"6", "", statement, busy},
        {"517", "", statement, busy}, // BUSY_SNAPSHOT
        {"7", "", statement, u"počítači došla paměť"_s},
        {"8", "", statement, readOnly},
        {"10", "", statement, ioError},
        {"266", "", statement, ioError}, // IOERR_READ
        {"11", "", statement, u"soubor databáze je poškozený"_s},
        {"13", "", statement, diskFull},
        {"14", "", statement, u"soubor databáze nejde otevřít: chybí, nebo k němu není přístup"_s},
        {"26", "", statement, u"soubor není databáze, nebo je poškozený"_s},
        {"1", "", statement, u"databáze ohlásila chybu č. 1"_s},
        {"1", "no such table: Zaci", statement, u"v databázi chybí tabulka „Zaci“"_s},
        {"1", "no such column: Bonus", statement, u"v databázi chybí sloupec „Bonus“"_s},
        {"1", "table Ulohy has no column named Sekund", statement,
         u"v tabulce „Ulohy“ chybí sloupec „Sekund“"_s},
        {"", "", connection, u"k databázi se nelze připojit (chybí ovladač databáze?)"_s},
        {"", "", statement, u"neznámá chyba databáze"_s},
        {"42P01", "", statement, u"v databázi chybí tabulka"_s},
        {"42P02", "", statement, serverCode("42P02")}, // an exact code is no class
        {"42703", "", statement, u"v databázi chybí sloupec"_s},
        {"42501", "", statement, denied},
        {"42601", "", statement, serverCode("42601")},
        {"28000", "", connection, u"databázový server odmítl přihlášení"_s},
        {"28P01", "", connection, u"databázový server odmítl přihlášení"_s},
        {"08006", "", connection, u"spojení s databázovým serverem selhalo"_s},
        {"08001", "", connection, u"spojení s databázovým serverem selhalo"_s},
        {"57P01", "", statement, u"databázový server právě nepracuje"_s},
        {"57014", "", statement, u"databázový server právě nepracuje"_s},
        {"25006", "", statement, readOnly},
        {"25001", "", statement, serverCode("25001")},
        {"40001", "", statement, busy},
        {"40P01", "", statement, busy},
        {"55P03", "", statement, busy},
        {"55000", "", statement, serverCode("55000")},
        {"53100", "", statement, diskFull},
        {"53200", "", statement, u"databázovému serveru došla paměť"_s},
        {"53300", "", statement, serverCode("53300")},
    };
    for (const auto& c : cases) {
        const QSqlError error(u"driver"_s, QString::fromLatin1(c.engineText), c.type,
                              QString::fromLatin1(c.code));
        const QString reason = databaseFailureReason(error);
        EXPECT_EQ(reason, c.reason) << c.code << " " << c.engineText;
        EXPECT_EQ(meansHeldByAnother(reason), c.reason == busy) << c.code;
    }
    // The server's driver names itself when it cannot reach the server at all.
    EXPECT_EQ(
        databaseFailureReason(QSqlError(u"QPSQL: Unable to connect"_s, u"timeout"_s, connection)),
        noServer);
}

TEST(FailureReason, EachFailureToWriteAFileIsNamedInCzech)
{
    const QString noRight = u"přístup odepřen, chybí oprávnění"_s;
    // What stands in the folder first (a name ending in "/" is a folder), what is made
    // unwritable, the file to write.
    const std::tuple<const char*, const char*, const char*, const char*, QString> cases[] = {
        {"a folder that is not there", "", "", "neni/Vysledky.txt",
         u"složka nebo soubor neexistuje"_s},
        {"a folder where the file should be", "Vysledky.txt/", "", "Vysledky.txt",
         u"na tom místě je složka, ne soubor"_s},
        {"a file where a folder should be", "zprava", "", "zprava/Vysledky.txt",
         u"část cesty není složka"_s},
        {"a folder that may not be written", "", ".", "Vysledky.txt", noRight},
        {"a file that may not be replaced", "Vysledky.txt", "Vysledky.txt", "Vysledky.txt",
         noRight},
    };
    for (const auto& [name, made, locked, target, reason] : cases) {
        QTemporaryDir folder;
        const QString standing = folder.filePath(QString::fromLatin1(made));
        if (standing.endsWith(u'/')) {
            QDir().mkdir(standing);
        } else if (*made != '\0') {
            written(standing, 0, "starý");
        }
        std::optional<testing::Unwritable> unwritable;
        if (*locked != '\0') {
            unwritable.emplace(folder.filePath(QString::fromLatin1(locked)));
        }
        EXPECT_EQ(writeReportFile(folder.filePath(QString::fromLatin1(target)), u"4b 00 "_s),
                  reason)
            << name;
    }
    // A full disk, a read-only file system and the rest cannot be made here.
    const std::tuple<QFileDevice::FileError, int, QString> systemCases[] = {
        {QFileDevice::WriteError, ENOSPC, u"disk je plný"_s},
        {QFileDevice::OpenError, EROFS, u"disk je jen pro čtení"_s},
        {QFileDevice::OpenError, EACCES, noRight}, // root meets EPERM where a pupil meets this
        {QFileDevice::WriteError, 0, u"soubor nejde zapsat"_s},
        {QFileDevice::ReadError, EPROTO,
         u"soubor nejde přečíst (chyba systému č. %1)"_s.arg(EPROTO)},
    };
    for (const auto& [error, systemError, reason] : systemCases) {
        EXPECT_EQ(fileFailureReason(error, systemError), reason) << systemError;
    }
}

} // namespace
} // namespace voltmetr
