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

const QString busy =
    QStringLiteral("databázi právě zamyká jiný počítač a neuvolnil ji včas; zkuste to za chvíli "
                   "znovu");
const QString notADatabase = QStringLiteral("soubor není databáze, nebo je poškozený");

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QString pupilsError(const QString& path)
{
    return ResultsStore(path, 100).readPupils().error;
}

QString storeError(const QString& path)
{
    return ResultsStore(path, 100).appendRun({}).error;
}

TEST(FailureReason, EachDatabaseFailureIsNamedInCzech)
{
    const struct
    {
        const char* name;
        std::function<QString(testing::SchoolFile&)> fail;
        QString reason;
    } cases[] = {
        {"a text file that is not a database",
         [](testing::SchoolFile& file) {
             const QString text = file.folder() + QStringLiteral("/zaci.txt");
             writeBytes(text, "Novák; 3.B\r\nSvoboda; 2.A\r\n");
             return pupilsError(text);
         },
         notADatabase},
        {"a file that another computer holds at sign-in",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("BEGIN EXCLUSIVE"));
             return pupilsError(file.path());
         },
         busy},
        {"a file that another computer holds at the summary",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("BEGIN EXCLUSIVE"));
             return storeError(file.path());
         },
         busy},
        {"a file that vanished since sign-in",
         [](testing::SchoolFile& file) {
             return storeError(file.folder() + QStringLiteral("/pryc.sqlite"));
         },
         QStringLiteral("soubor databáze nejde otevřít: chybí, nebo k němu není přístup")},
        {"the pupils' table missing",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("DROP TABLE \"Zaci\""));
             return pupilsError(file.path());
         },
         QStringLiteral("v databázi chybí tabulka „Zaci“")},
        {"the pupils' class missing",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("ALTER TABLE \"Zaci\" DROP COLUMN \"Trida\""));
             return pupilsError(file.path());
         },
         QStringLiteral("v databázi chybí sloupec „Zaci.Trida“")},
        {"the results table missing",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("DROP TABLE \"Prehled \""));
             return storeError(file.path());
         },
         QStringLiteral("v databázi chybí tabulka „Prehled “")},
        {"the login column missing",
         [](testing::SchoolFile& file) {
             file.exec(QStringLiteral("ALTER TABLE \"Prehled \" DROP COLUMN \"Prihlasenjako\""));
             return storeError(file.path());
         },
         QStringLiteral("v tabulce „Prehled “ chybí sloupec „Prihlasenjako“")},
        {"a damaged file",
         [](testing::SchoolFile& file) {
             // Page 2 holds the pupils' table; its page header becomes nonsense.
             for (int i = 0; i < 20; ++i) {
                 file.addPupil(QStringLiteral("Novák %1").arg(i), QStringLiteral("3.B"));
             }
             QFile damaged(file.path());
             if (!damaged.open(QIODevice::ReadWrite) || !damaged.seek(4096)) {
                 return QString();
             }
             damaged.write(QByteArray(16, '\x7f'));
             damaged.close();
             return pupilsError(file.path());
         },
         QStringLiteral("soubor databáze je poškozený")},
        {"a disk that is full",
         [](testing::SchoolFile& file) {
             // The file may not grow by a single page, as on a full disk.
             QSqlQuery query(file.database());
             query.exec(QStringLiteral("PRAGMA max_page_count = 1"));
             if (query.exec(QStringLiteral("INSERT INTO \"Zaci\" VALUES (zeroblob(100000), '')"))) {
                 return QString();
             }
             return databaseFailureReason(query.lastError());
         },
         QStringLiteral("disk s databází je plný")},
    };
    for (const auto& c : cases) {
        testing::SchoolFile file;
        EXPECT_EQ(c.fail(file), c.reason) << c.name;
    }
}

TEST(FailureReason, ADatabaseThatMayNotBeWrittenIsNamedInCzech)
{
    testing::SchoolFile file;
    const testing::Unwritable readOnly(file.path());
    if (!readOnly.shown()) {
        GTEST_SKIP() << "this file system cannot make a file unwritable for root";
    }
    EXPECT_EQ(storeError(file.path()),
              QStringLiteral("do databáze nelze zapisovat, je jen pro čtení"));
}

// A failing disk or network share cannot be made here; the engine's codes for it, the
// extended one included, must still find their reason.
TEST(FailureReason, EngineCodesThatCannotBeMadeHereAreNamedToo)
{
    const std::pair<const char*, QString> cases[] = {
        {"10", QStringLiteral("soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)")},
        {"266",
         QStringLiteral("soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)")},
        {"1", QStringLiteral("databáze ohlásila chybu č. 1")},
    };
    for (const auto& [code, reason] : cases) {
        const QSqlError error(QStringLiteral("Unable to fetch row"),
                              QStringLiteral("disk I/O error"), QSqlError::StatementError,
                              QString::fromLatin1(code));
        EXPECT_EQ(databaseFailureReason(error), reason) << code;
    }
}

TEST(FailureReason, EachFileFailureIsNamedInCzech)
{
    const QString denied = QStringLiteral("přístup odepřen, chybí oprávnění");
    const struct
    {
        const char* name;
        // Prepares the failure in the folder; the file to write, empty when it cannot be shown.
        std::function<QString(const QString& folder, std::optional<testing::Unwritable>&)> prepare;
        QString reason;
    } cases[] = {
        {"a folder that is not there",
         [](const QString& folder, auto&) { return folder + QStringLiteral("/neni/Vysledky.txt"); },
         QStringLiteral("složka nebo soubor neexistuje")},
        {"a folder where the file should be",
         [](const QString& folder, auto&) {
             QDir(folder).mkdir(QStringLiteral("Vysledky.txt"));
             return folder + QStringLiteral("/Vysledky.txt");
         },
         QStringLiteral("na tom místě je složka, ne soubor")},
        {"a file where a folder should be",
         [](const QString& folder, auto&) {
             writeBytes(folder + QStringLiteral("/zprava"), "x");
             return folder + QStringLiteral("/zprava/Vysledky.txt");
         },
         QStringLiteral("část cesty není složka")},
        {"a folder that may not be written",
         [](const QString& folder, auto& unwritable) {
             unwritable.emplace(folder);
             return unwritable->shown() ? folder + QStringLiteral("/Vysledky.txt") : QString();
         },
         denied},
        {"a file that may not be replaced",
         [](const QString& folder, auto& unwritable) {
             const QString path = folder + QStringLiteral("/Vysledky.txt");
             writeBytes(path, "starý");
             unwritable.emplace(path);
             return unwritable->shown() ? path : QString();
         },
         denied},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        std::optional<testing::Unwritable> unwritable;
        const QString path = c.prepare(folder.path(), unwritable);
        if (path.isEmpty()) {
            ADD_FAILURE() << c.name << ": cannot be made on this file system";
            continue;
        }
        EXPECT_EQ(writeReportFile(path, QStringLiteral("4b 00 ")), c.reason) << c.name;
    }
}

// A full disk and a read-only file system would need a file system mounted for the test; their
// system errors must find their reason all the same.
TEST(FailureReason, SystemErrorsThatCannotBeMadeHereAreNamedToo)
{
    const std::tuple<QFileDevice::FileError, int, QString> cases[] = {
        {QFileDevice::WriteError, ENOSPC, QStringLiteral("disk je plný")},
        {QFileDevice::OpenError, EROFS, QStringLiteral("disk je jen pro čtení")},
        {QFileDevice::WriteError, 0, QStringLiteral("soubor nejde zapsat")},
        {QFileDevice::ReadError, EPROTO,
         QStringLiteral("soubor nejde přečíst (chyba systému č. %1)").arg(EPROTO)},
    };
    for (const auto& [error, systemError, reason] : cases) {
        EXPECT_EQ(fileFailureReason(error, systemError), reason) << systemError;
    }
}

} // namespace
} // namespace voltmetr
