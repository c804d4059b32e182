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

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;
using testing::SchoolFile;

const QString busy = u"databázi právě zamyká jiný počítač a neuvolnil ji včas"_s;
const QString readOnly = u"do databáze nelze zapisovat, je jen pro čtení"_s;

// Writes bytes into the file from offset on, creating it if need be; the file's path.
QString written(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(offset) &&
                file.write(bytes) == bytes.size());
    return path;
}

// Each failure made to happen for real on a file; a run that failed is not stored.
TEST(FailureReason, EachFailureOfAFileIsNamedInCzech)
{
    SchoolFile file;
    SchoolFile newer; // a file format newer than the engine's for writing: read, never written
    const auto store = [](const QString& path) {
        const RunStored run = ResultsStore(path, 100).appendRun({});
        return std::tuple(run.stored(), run.error);
    };
    EXPECT_EQ(ResultsStore(written(file.folder() + u"/z.txt"_s, 0, "Novák")).readPupils().error,
              u"soubor není databáze, nebo je poškozený"_s);
    EXPECT_EQ(store(written(newer.path(), 18, "\x03")), std::tuple(false, readOnly));
    file.exec(u"BEGIN EXCLUSIVE"_s);
    EXPECT_EQ(ResultsStore(file.path(), 100).readPupils().error, busy) << "held at sign-in";
    file.exec(u"ROLLBACK"_s);
    file.exec(uR"(ALTER TABLE "Prehled " DROP Prihlasenjako)"_s);
    EXPECT_EQ(store(file.path()),
              std::tuple(false, u"v tabulce „Prehled “ chybí sloupec „Prihlasenjako“"_s));
}

// Every code the engines give, with the driver's kind of error where no code comes. A file's
// engine gives numbers whose low byte is the primary code; a server gives five characters, of
// which an exact code is looked up before its two-character class. Only "held by another" may
// be tried again.
TEST(FailureReason, EveryEngineCodeHasItsReason)
{
    const QString busyServer =
        u"databázový server je právě přetížený nebo se spouští a další spojení nepřijal"_s;
    const QString refusedLogin = u"databázový server odmítl přihlášení; správce ho povolí v "
                                 u"pg_hba.conf, žákům bez hesla (peer, cert nebo gss)"_s;
    constexpr auto connection = QSqlError::ConnectionError;
    const auto reasonOf = [](const char* code, const char* engineText = "",
                             QSqlError::ErrorType type = QSqlError::StatementError) {
        return databaseFailureReason(QSqlError(u"driver"_s, QString::fromLatin1(engineText), type,
                                               QString::fromLatin1(code)));
    };
    // Each reason with the codes that give it.
    const std::pair<QString, std::vector<const char*>> cases[] = {
        {u"k databázi není povolen přístup"_s, {"3", "23", "42501"}},
        {busy, {"5", "6", "517", "40001", "40P01", "55P03"}}, // 517: SQLite's BUSY_SNAPSHOT
        {u"počítači došla paměť"_s, {"7"}},
        {readOnly, {"8", "25006"}},
        {u"soubor databáze nejde přečíst nebo zapsat (chyba disku nebo sítě)"_s, {"10", "266"}},
        {u"soubor databáze je poškozený"_s, {"11"}},
        {u"disk s databází je plný"_s, {"13", "53100"}},
        {u"soubor databáze nejde otevřít: chybí, nebo k němu není přístup"_s, {"14"}},
        {u"soubor není databáze, nebo je poškozený"_s, {"26"}},
        {u"databáze ohlásila chybu č. 1"_s, {"1"}},
        {u"v databázi chybí tabulka"_s, {"42P01"}},
        {u"v databázi chybí sloupec"_s, {"42703"}},
        {u"databázový server odmítl přihlášení"_s, {"28000", "28P01"}},
        {u"spojení s databázovým serverem selhalo"_s, {"08006", "08001"}},
        {u"databázový server právě nepracuje"_s, {"57P01", "57014"}},
        {u"databázovému serveru došla paměť"_s, {"53200"}},
        // An exact code is no class: a code of its class not listed is named as it is.
        {u"databázový server ohlásil chybu %1"_s, {"42P02", "42601", "25001", "55000", "53300"}},
    };
    for (const auto& [reason, codes] : cases) {
        for (const char* code : codes) {
            const QString expected = QString(reason).replace(u"%1"_s, QLatin1String(code));
            EXPECT_EQ(reasonOf(code), expected) << code;
            EXPECT_EQ(meansHeldByAnother(reasonOf(code)), reason == busy) << code;
        }
    }
    // SQLite names what is missing only in its message.
    EXPECT_EQ(reasonOf("1", "no such table: Zaci"), u"v databázi chybí tabulka „Zaci“"_s);
    EXPECT_EQ(reasonOf("1", "no such column: Bonus"), u"v databázi chybí sloupec „Bonus“"_s);
    EXPECT_EQ(reasonOf("1", "table Ulohy has no column named Sekund"),
              u"v tabulce „Ulohy“ chybí sloupec „Sekund“"_s);
    EXPECT_EQ(reasonOf(""), u"neznámá chyba databáze"_s);
    EXPECT_EQ(reasonOf("", "", connection),
              u"k databázi se nelze připojit (chybí ovladač databáze?)"_s);
    // A server that refuses a connection says why in its own (English) words only.
    const std::tuple<const char*, QString> refusals[] = {
        {"timeout expired",
         u"k databázovému serveru se nelze připojit: neběží nebo není dostupný"_s},
        {"FATAL:  sorry, too many clients already", busyServer},
        {"FATAL:  the database system is starting up", busyServer},
        {"ERROR:  query_wait_timeout", busyServer}, // a pooler's queue
        {"FATAL:  password authentication failed for user \"x\"", refusedLogin},
        {"FATAL:  permission denied for database \"skola\"", refusedLogin},
    };
    for (const auto& [text, reason] : refusals) {
        EXPECT_EQ(databaseFailureReason(QSqlError(u"QPSQL: Unable to connect"_s,
                                                  QString::fromUtf8(text), connection)),
                  reason)
            << text;
    }
}

// Only what waiting can mend is tried again: on a server also a broken connection (no code at
// all), since the store function stores a run once however often it is sent.
TEST(FailureReason, OnlyWhatWaitingCanMendIsTriedAgain)
{
    const auto failure = [](const char* code) {
        return QSqlError(u"driver"_s, u"engine"_s, QSqlError::StatementError,
                         QString::fromLatin1(code));
    };
    for (const char* code :
         {"53300", "57P03", "57P01", "08006", "40001", "40P01", "55P03", "23505", ""}) {
        EXPECT_TRUE(mayTryAgain(failure(code), true)) << code;
    }
    for (const char* code : {"42501", "25006", "28P01", "42883", "22P02"}) {
        EXPECT_FALSE(mayTryAgain(failure(code), true)) << code;
    }
    for (const auto& [code, again] : {std::pair{"5", true},
                                      {"517", true},
                                      {"6", true},
                                      {"8", false},
                                      {"14", false},
                                      {"", false}}) {
        EXPECT_EQ(mayTryAgain(failure(code), false), again) << code;
    }
    EXPECT_FALSE(mayTryAgain(QSqlError(), true));
}

TEST(FailureReason, EachFailureToWriteAFileIsNamedInCzech)
{
    const QString noRight = u"přístup odepřen, chybí oprávnění"_s;
    QTemporaryDir folder;
    const auto write = [&](const char* name) {
        return writeReportFile(folder.filePath(QString::fromLatin1(name)), u"4b 00 "_s);
    };
    QDir(folder.path()).mkdir(u"slozka"_s);
    written(folder.filePath(u"soubor"_s), 0, "starý");
    EXPECT_EQ(write("neni/Vysledky.txt"), u"složka nebo soubor neexistuje"_s);
    EXPECT_EQ(write("slozka"), u"na tom místě je složka, ne soubor"_s);
    EXPECT_EQ(write("soubor/Vysledky.txt"), u"část cesty není složka"_s);
    {
        const testing::Unwritable locked(folder.filePath(u"soubor"_s));
        EXPECT_EQ(write("soubor"), noRight) << "a file that may not be replaced";
    }
    {
        const testing::Unwritable locked(folder.path());
        EXPECT_EQ(write("Vysledky.txt"), noRight) << "a folder that may not be written";
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
