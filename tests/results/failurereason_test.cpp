// What a pupil or a teacher reads after "Důvod:" when the school database or a file fails
// them. Each failure is made to happen for real, and the reason must be the Czech one, whole:
// no word of the engine's or the system's English gets through.
#include "results/failurereason.h"
#include "results/reportfile.h"
#include "results/resultsstore.h"
#include "schoolfile.h"
#include "unwritable.h"

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
    return run.stored ? QStringLiteral("(uloženo)") : run.error;
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
         QStringLiteral("soubor není databáze, nebo je poškozený")},
        {"a file that another computer holds at sign-in",
         [](SchoolFile& f) { return pupilsError(executed(f, "BEGIN EXCLUSIVE")); }, busy},
        {"a file that another computer holds at the summary",
         [](SchoolFile& f) { return storeError(executed(f, "BEGIN EXCLUSIVE")); }, busy},
        {"a file that vanished since sign-in",
         [](SchoolFile& f) { return storeError(f.folder() + u"/pryc.sqlite"_s); },
         QStringLiteral("soubor databáze nejde otevřít: chybí, nebo k němu není přístup")},
        {"the pupils' table missing",
         [](SchoolFile& f) { return pupilsError(executed(f, "DROP TABLE \"Zaci\"")); },
         QStringLiteral("v databázi chybí tabulka „Zaci“")},
        {"the results table missing",
         [](SchoolFile& f) { return storeError(executed(f, "DROP TABLE \"Prehled \"")); },
         QStringLiteral("v databázi chybí tabulka „Prehled “")},
        {"the login column missing",
         [](SchoolFile& f) {
             return storeError(executed(f, "ALTER TABLE \"Prehled \" DROP Prihlasenjako"));
         },
         QStringLiteral("v tabulce „Prehled “ chybí sloupec „Prihlasenjako“")},
        // Page 2 holds the pupils' table; its page header becomes nonsense.
        {"a damaged file",
         [](SchoolFile& f) { return pupilsError(written(f.path(), 4096, QByteArray(16, 127))); },
         QStringLiteral("soubor databáze je poškozený")},
        // A file format newer than the engine's for writing: it may be read, not written.
        {"a file that may not be written",
         [](SchoolFile& f) { return storeError(written(f.path(), 18, "\x03")); },
         QStringLiteral("do databáze nelze zapisovat, je jen pro čtení")},
        // The test's own connection may not grow the file by a single page, as on a full disk.
        {"a disk that is full",
         [](SchoolFile& f) {
             QSqlQuery query(f.database());
             query.exec(QStringLiteral("PRAGMA max_page_count = 1"));
             EXPECT_FALSE(
                 query.exec(QStringLiteral("INSERT INTO Zaci VALUES (zeroblob(1e5), '')")));
             return databaseFailureReason(query.lastError());
         },
         QStringLiteral("disk s databází je plný")},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        EXPECT_EQ(c.fail(file), c.reason) << c.name;
    }
}

TEST(FailureReason, EachFileFailureIsNamedInCzech)
{
    const QString denied = QStringLiteral("přístup odepřen, chybí oprávnění");
    // What stands in the folder first (a name ending in "/" is a folder), what is made
    // unwritable, the file to write.
    const std::tuple<const char*, const char*, const char*, const char*, QString> cases[] = {
        {"a folder that is not there", "", "", "neni/Vysledky.txt",
         QStringLiteral("složka nebo soubor neexistuje")},
        {"a folder where the file should be", "Vysledky.txt/", "", "Vysledky.txt",
         QStringLiteral("na tom místě je složka, ne soubor")},
        {"a file where a folder should be", "zprava", "", "zprava/Vysledky.txt",
         QStringLiteral("část cesty není složka")},
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
        EXPECT_EQ(writeReportFile(path, QStringLiteral("4b 00 ")), reason) << name;
    }
}

// A failing disk or network share, a full disk and a read-only file system cannot be made
// here; the engine's codes for them, the extended one included, and the system's errors must
// still find their reason.
TEST(FailureReason, FailuresThatCannotBeMadeHereAreNamedToo)
{
    const QString ioError =
        QStringLiteral("soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)");
    const QString denied = QStringLiteral("k databázi není povolen přístup");
    // The engine's code, none when the driver itself failed.
    const std::pair<const char*, QString> engineCases[] = {
        {"10", ioError},
        {"266", ioError},
        {"3", denied},
        {"23", denied},
        {"6", busy},
        {"7", QStringLiteral("počítači došla paměť")},
        {"1", QStringLiteral("databáze ohlásila chybu č. 1")},
        {"", QStringLiteral("k databázi se nelze připojit (chybí ovladač databáze?)")}};
    for (const auto& [code, reason] : engineCases) {
        const QSqlError error(QStringLiteral("Driver not loaded"), QStringLiteral("disk I/O error"),
                              *code ? QSqlError::StatementError : QSqlError::ConnectionError,
                              QString::fromLatin1(code));
        EXPECT_EQ(databaseFailureReason(error), reason) << code;
    }
    const std::tuple<QFileDevice::FileError, int, QString> systemCases[] = {
        {QFileDevice::WriteError, ENOSPC, QStringLiteral("disk je plný")},
        {QFileDevice::OpenError, EROFS, QStringLiteral("disk je jen pro čtení")},
        // Root here meets EPERM where a pupil meets EACCES.
        {QFileDevice::OpenError, EACCES, QStringLiteral("přístup odepřen, chybí oprávnění")},
        {QFileDevice::WriteError, 0, QStringLiteral("soubor nejde zapsat")},
        {QFileDevice::ReadError, EPROTO,
         QStringLiteral("soubor nejde přečíst (chyba systému č. %1)").arg(EPROTO)},
    };
    for (const auto& [error, systemError, reason] : systemCases) {
        EXPECT_EQ(fileFailureReason(error, systemError), reason) << systemError;
    }
}

} // namespace
} // namespace voltmetr
