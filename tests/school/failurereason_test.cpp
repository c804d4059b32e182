// What a pupil or a teacher reads after "Důvod:" when the school database or a file fails
// them. Each failure is made to happen for real, and the reason must be the Czech one, whole:
// no word of the engine's or the system's English gets through.
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

const QString busy = QStringLiteral(
    "databázi právě zamyká jiný počítač a neuvolnil ji včas; zkuste to za chvíli znovu");

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

TEST(FailureReason, EachDatabaseFailureIsNamedInCzech)
{
    const struct
    {
        const char* name;
        std::function<QString(SchoolFile&)> fail;
        QString reason;
    } cases[] = {
        {"a text file that is not a database",
         [](SchoolFile& f) {
             return pupilsError(written(f.folder() + u"/zaci.txt"_s, 0, "Novák"));
         },
         u"soubor není databáze, nebo je poškozený"_s},
        {"a file that another computer holds at sign-in",
         [](SchoolFile& f) { return pupilsError(executed(f, "BEGIN EXCLUSIVE")); }, busy},
        {"a file that another computer holds at the summary",
         [](SchoolFile& f) { return storeError(executed(f, "BEGIN EXCLUSIVE")); }, busy},
        {"a file that vanished since sign-in",
         [](SchoolFile& f) { return storeError(f.folder() + u"/pryc.sqlite"_s); },
         u"soubor databáze nejde otevřít: chybí, nebo k němu není přístup"_s},
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
         [](SchoolFile& f) { return storeError(written(f.path(), 18, "\x03")); },
         u"do databáze nelze zapisovat, je jen pro čtení"_s},
        // The test's own connection may not grow the file by a single page, as on a full disk.
        {"a disk that is full",
         [](SchoolFile& f) {
             QSqlQuery query(f.database());
             query.exec(u"PRAGMA max_page_count = 1"_s);
             EXPECT_FALSE(query.exec(u"INSERT INTO Zaci VALUES (zeroblob(1e5), '')"_s));
             return databaseFailureReason(query.lastError());
         },
         u"disk s databází je plný"_s},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        EXPECT_EQ(c.fail(file), c.reason) << c.name;
    }
}

TEST(FailureReason, EachFileFailureIsNamedInCzech)
{
    const QString denied = u"přístup odepřen, chybí oprávnění"_s;
    // What stands in the folder first (a name ending in "/" is a folder), what is made
    // unwritable, the file to write.
    const std::tuple<const char*, const char*, const char*, const char*, QString> cases[] = {
        {"a folder that is not there", "", "", "neni/Vysledky.txt",
         u"složka nebo soubor neexistuje"_s},
        {"a folder where the file should be", "Vysledky.txt/", "", "Vysledky.txt",
         u"na tom místě je složka, ne soubor"_s},
        {"a file where a folder should be", "zprava", "", "zprava/Vysledky.txt",
         u"část cesty není složka"_s},
        {"a folder that may not be written", "", ".", "Vysledky.txt", denied},
        {"a file that may not be replaced", "Vysledky.txt", "Vysledky.txt", "Vysledky.txt", denied},
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
        const QString path = folder.filePath(QString::fromLatin1(target));
        EXPECT_EQ(writeReportFile(path, u"4b 00 "_s), reason) << name;
    }
}

// A failing disk or network share, a full disk and a read-only file system cannot be made
// here; the engine's codes for them, the extended one included, and the system's errors must
// still find their reason.
TEST(FailureReason, FailuresThatCannotBeMadeHereAreNamedToo)
{
    const QString ioError = u"soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)"_s;
    const QString denied = u"k databázi není povolen přístup"_s;
    // The engine's code, none when the driver itself failed.
    const std::pair<const char*, QString> engineCases[] = {
        {"10", ioError},
        {"266", ioError},
        {"3", denied},
        {"23", denied},
        {"6", busy},
        {"7", u"počítači došla paměť"_s},
        {"1", u"databáze ohlásila chybu č. 1"_s},
        {"", u"k databázi se nelze připojit (chybí ovladač databáze?)"_s}};
    for (const auto& [code, reason] : engineCases) {
        const QSqlError error(u"Driver not loaded"_s, u"disk I/O error"_s,
                              *code ? QSqlError::StatementError : QSqlError::ConnectionError,
                              QString::fromLatin1(code));
        EXPECT_EQ(databaseFailureReason(error), reason) << code;
    }
    const std::tuple<QFileDevice::FileError, int, QString> systemCases[] = {
        {QFileDevice::WriteError, ENOSPC, u"disk je plný"_s},
        {QFileDevice::OpenError, EROFS, u"disk je jen pro čtení"_s},
        // Root here meets EPERM where a pupil meets EACCES.
        {QFileDevice::OpenError, EACCES, u"přístup odepřen, chybí oprávnění"_s},
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
