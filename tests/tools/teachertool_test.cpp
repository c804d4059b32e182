#include "app/oledate.h"
#include "randomhost.h"
#include "reportsamples.h"
#include "results/info2.h"
#include "results/resultsstore.h"
#include "results/schooldatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace voltmetr {
namespace {

struct ToolResult
{
    int exitCode = -1;
    QByteArray outBytes;
    QString out;
    QString err;
};

// Runs the built tool as a teacher would, with Czech regional settings and no database in
// the environment unless the test gives one.
ToolResult runTool(const QStringList& arguments, const QByteArray& input = {},
                   const std::optional<QString>& environmentDb = std::nullopt)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("cs_CZ.UTF-8"));
    environment.remove(QStringLiteral("VOLTMETR_DB"));
    if (environmentDb) {
        environment.insert(QStringLiteral("VOLTMETR_DB"), *environmentDb);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VOLTMETR_UCITEL), arguments);
    process.write(input);
    process.closeWriteChannel();
    ToolResult result;
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        ADD_FAILURE() << "the tool did not finish: " << arguments.join(u' ').toStdString();
        return result;
    }
    result.exitCode = process.exitCode();
    result.outBytes = process.readAllStandardOutput();
    result.out = QString::fromUtf8(result.outBytes);
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(chybí)");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray windows1250(const char* utf8Text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(QString::fromUtf8(utf8Text));
}

// An open connection of the test's own, to look at the file the tool wrote.
class Database
{
public:
    explicit Database(const QString& path) : m_name(QStringLiteral("test-%1").arg(++s_connections))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~Database()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    QSqlDatabase db() const { return QSqlDatabase::database(m_name); }

    void exec(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(db());
        ASSERT_TRUE(query.prepare(statement)) << query.lastError().text().toStdString();
        for (const QVariant& value : values) {
            query.addBindValue(value);
        }
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }

    // One finished run, stored the way the pupils' program stores it.
    void addResult(const QVariant& surname, const QVariant& pupilClass, const QVariant& right,
                   const QVariant& wrong, const QDateTime& start, const QDateTime& end)
    {
        exec(QStringLiteral(R"(INSERT INTO "Prehled " ("Prijmeni", "Trida", "Spravne",)"
                            R"( "Chybne", "CasStrt", "CasEnd", "Datum", "Prihlasenjako",)"
                            R"( "TypZkous") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))"),
             {surname, pupilClass, right, wrong, oleTimePart(toOleDate(start)),
              oleTimePart(toOleDate(end)), oleDatePart(toOleDate(end)), QStringLiteral("zak01"),
              2});
    }

private:
    static inline int s_connections = 0;
    QString m_name;
};

// The sign-in's profile list, read by the pupils' program's own store.
QStringList profilesAsTheProgramReadsThem(const QString& path)
{
    const PupilsRead read = ResultsStore(path).readPupils();
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    QStringList profiles;
    for (const Profile& pupil : read.pupils) {
        profiles.append(profileEntry(pupil));
    }
    return profiles;
}

class TeacherToolTest : public ::testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    // A database made by the tool, with the pupils of classList when given.
    QString createDatabase(const QByteArray& classList = {})
    {
        const QString db = path("skola.sqlite");
        const ToolResult created = runTool({QStringLiteral("zaloz"), QStringLiteral("--db"), db});
        EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
        if (!classList.isEmpty()) {
            writeFile(path("trida.csv"), classList);
            const ToolResult imported =
                runTool({QStringLiteral("import"), QStringLiteral("--db"), db, path("trida.csv")});
            EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        }
        return db;
    }

    QTemporaryDir m_dir;
};

// A failed command tells the teacher why in one Czech line.
void expectOneLineReason(const ToolResult& result, const QString& reasonPart, const char* name)
{
    EXPECT_NE(result.exitCode, 0) << name;
    EXPECT_EQ(result.err.count(u'\n'), 1) << name << ": " << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(reasonPart))
        << name << ": " << result.err.toStdString() << " lacks " << reasonPart.toStdString();
}

TEST_F(TeacherToolTest, ExplainsItselfAndRefusesWrongCommandLines)
{
    for (const char* help : {"--help", "-h", "--napoveda"}) {
        const ToolResult result = runTool({QString::fromLatin1(help)});
        EXPECT_EQ(result.exitCode, 0) << help;
        EXPECT_TRUE(result.out.startsWith(QStringLiteral("Použití: voltmetr-ucitel"))) << help;
        for (const char* command : {"zaloz", "import", "dekoduj", "export", "souhrn"}) {
            EXPECT_TRUE(result.out.contains(QStringLiteral("  %1").arg(QLatin1String(command))))
                << help << " " << command;
        }
    }

    struct Case
    {
        const char* name;
        QStringList arguments;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"no command", {}, "Chybí příkaz"},
        {"unknown command", {QStringLiteral("smaz")}, "Neznámý příkaz „smaz“"},
        {"unknown option", {QStringLiteral("souhrn"), QStringLiteral("--vse")}, "Neznámá volba"},
        {"option of another command",
         {QStringLiteral("export"), QStringLiteral("--csv"), QStringLiteral("x.csv")},
         "patří k příkazu dekoduj"},
        {"option without its value",
         {QStringLiteral("souhrn"), QStringLiteral("--trida")},
         "potřebuje hodnotu"},
        {"import without a list", {QStringLiteral("import")}, "chybí soubor"},
        {"extra file", {QStringLiteral("zaloz"), QStringLiteral("navic")}, "nečeká „navic“"},
        {"switch with a value",
         {QStringLiteral("zaloz"), QStringLiteral("--prepsat=ano")},
         "nemá hodnotu"},
    };
    for (const Case& c : cases) {
        const ToolResult result = runTool(c.arguments);
        expectOneLineReason(result, QString::fromUtf8(c.reasonPart), c.name);
        EXPECT_EQ(result.exitCode, 2) << c.name;
    }
}

TEST_F(TeacherToolTest, CreatesTheDatabaseThatTheProgramReadsItsPupilsFrom)
{
    const QString db = createDatabase(windows1250("Příjmení;Jméno;Třída\r\n"
                                                  "Řezníček;Tomáš;2.B\r\n"
                                                  "Šťastná;Eva;2.B\r\n"
                                                  "Nováková;Jana;2.C\r\n"));
    EXPECT_EQ(profilesAsTheProgramReadsThem(db),
              (QStringList{QStringLiteral("Řezníček; 2.B"), QStringLiteral("Šťastná; 2.B"),
                           QStringLiteral("Nováková; 2.C")}));

    // Without --db the tool uses the same variable the program looks at.
    const QString fromEnvironment = path("z-promenne.sqlite");
    const ToolResult created = runTool({QStringLiteral("zaloz")}, {}, fromEnvironment);
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(fromEnvironment));
    EXPECT_TRUE(profilesAsTheProgramReadsThem(fromEnvironment).isEmpty());
}

TEST_F(TeacherToolTest, NeverOverwritesADatabaseUnlessAsked)
{
    const QString db = createDatabase(QByteArray("Příjmení;Třída\nNovák;1.A\n"));
    const QByteArray before = fileBytes(db);

    expectOneLineReason(runTool({QStringLiteral("zaloz"), QStringLiteral("--db"), db}),
                        QStringLiteral("už existuje"), "existing database");
    EXPECT_EQ(fileBytes(db), before);

    const ToolResult replaced =
        runTool({QStringLiteral("zaloz"), QStringLiteral("--prepsat"), QStringLiteral("--db"), db});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(profilesAsTheProgramReadsThem(db).isEmpty());

    struct Case
    {
        const char* name;
        QString path;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"missing folder", path("chybi/skola.sqlite"), "nelze založit"},
        {"a folder", m_dir.path(), "už existuje"},
        {"a folder, overwrite asked", m_dir.path(), "je složka"},
    };
    for (const Case& c : cases) {
        QStringList arguments{QStringLiteral("zaloz"), QStringLiteral("--db"), c.path};
        if (QString::fromLatin1(c.name).contains(QStringLiteral("overwrite"))) {
            arguments.append(QStringLiteral("--prepsat"));
        }
        expectOneLineReason(runTool(arguments), QString::fromUtf8(c.reasonPart), c.name);
    }
    EXPECT_FALSE(QDir(path("chybi")).exists());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("skola.sqlite"), QStringLiteral("trida.csv")}));
}

TEST_F(TeacherToolTest, ImportingTheSameListTwiceAddsEveryPupilOnce)
{
    const QString db = createDatabase();
    writeFile(path("trida.csv"), "\xef\xbb\xbfPříjmení,Třída\n"
                                 "Malý,3.A\n"
                                 "Velký,3.A\n"
                                 ",3.A\n"
                                 "Malý,3.A\n");
    const QStringList import{QStringLiteral("import"), QStringLiteral("--db"), db,
                             path("trida.csv")};
    const ToolResult first = runTool(import);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Řádek 4 vynechán: chybí příjmení.")));
    EXPECT_TRUE(
        first.out.contains(QStringLiteral("Řádek 5 vynechán: stejný žák už je na řádku 2.")));
    EXPECT_TRUE(first.out.contains(QStringLiteral("Přidáno žáků: 2, už v databázi: 0")))
        << first.out.toStdString();

    const ToolResult second = runTool(import);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("Přidáno žáků: 0, už v databázi: 2")))
        << second.out.toStdString();
    EXPECT_EQ(profilesAsTheProgramReadsThem(db),
              (QStringList{QStringLiteral("Malý; 3.A"), QStringLiteral("Velký; 3.A")}));
}

TEST_F(TeacherToolTest, RefusesBadListsAndBadDatabasesAndChangesNothing)
{
    const QString db = createDatabase(QByteArray("Novák;1.A\n"));
    writeFile(path("text.sqlite"), "Toto není databáze.\n");
    writeFile(path("prazdna.sqlite"), "");
    const QByteArray goodList("Hora;1.A\n");

    QStringEncoder utf16("UTF-16LE");
    QStringEncoder dosLatin2("IBM852");
    struct Case
    {
        const char* name;
        QByteArray list;
        QString database;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"empty list", QByteArray(), db, "prázdný"},
        {"binary list",
         QByteArray("\x7f"
                    "ELF\x02\x01\x01\x00\x00\x00",
                    10),
         db, "binární"},
        {"UTF-16 list", utf16.encode(QStringLiteral("\xfeffPříjmení;Třída\nHora;1.A\n")), db,
         "UTF-16"},
        {"DOS Latin 2 list", dosLatin2.encode(QStringLiteral("Příjmení;Třída\nHájek;1.A\n")), db,
         "UTF-8 ani ve Windows-1250"},
        {"list without a class column", QByteArray("Příjmení;Jméno\nHora;Jan\n"), db, "„Třída“"},
        {"missing database", goodList, path("chybi.sqlite"), "neexistuje"},
        {"text file as database", goodList, path("text.sqlite"), "není školní databáze"},
        {"database without tables", goodList, path("prazdna.sqlite"), "není školní databáze"},
    };
    for (const Case& c : cases) {
        writeFile(path("seznam.csv"), c.list);
        const QByteArray databaseBefore = fileBytes(c.database);
        const ToolResult result = runTool(
            {QStringLiteral("import"), QStringLiteral("--db"), c.database, path("seznam.csv")});
        expectOneLineReason(result, QString::fromUtf8(c.reasonPart), c.name);
        EXPECT_EQ(fileBytes(c.database), databaseBefore) << c.name;
    }
    expectOneLineReason(
        runTool({QStringLiteral("import"), QStringLiteral("--db"), db, path("zadny.csv")}),
        QStringLiteral("nelze otevřít"), "missing list");
    EXPECT_EQ(profilesAsTheProgramReadsThem(db), QStringList{QStringLiteral("Novák; 1.A")});
    EXPECT_FALSE(QFile::exists(path("chybi.sqlite")));
}

TEST_F(TeacherToolTest, AListThatFailsHalfwayLeavesNoPupilBehind)
{
    const QString db = createDatabase(QByteArray("Novák;1.A\n"));
    {
        Database database(db);
        database.exec(QStringLiteral(R"(CREATE TRIGGER "odmitni" BEFORE INSERT ON "Zaci")"
                                     R"( WHEN NEW."Prijmeni" = 'Chyba')"
                                     R"( BEGIN SELECT RAISE(ABORT, 'disk je plný'); END)"));
    }
    writeFile(path("seznam.csv"), "Hora;1.A\nDole;1.A\nChyba;1.A\nKonec;1.A\n");
    const ToolResult result =
        runTool({QStringLiteral("import"), QStringLiteral("--db"), db, path("seznam.csv")});
    expectOneLineReason(result, QStringLiteral("disk je plný"), "failing insert");
    EXPECT_TRUE(result.err.contains(QStringLiteral("řádku 3"))) << result.err.toStdString();
    EXPECT_EQ(profilesAsTheProgramReadsThem(db), QStringList{QStringLiteral("Novák; 1.A")});
}

class DecodeTest : public TeacherToolTest
{
protected:
    QString encoded(const QString& name, const QString& pupilClass, int right, int wrong)
    {
        m_coder.StartReport();
        m_coder.AppendEncoded(testing::sampleReportText(name, pupilClass, right, wrong));
        return m_coder.GetReportText();
    }

    void SetUp() override { m_coder.InitReportCoder(); }

    testing::RandomHost m_host{99};
    Info2 m_coder{m_host};
};

TEST_F(DecodeTest, DecodesEveryReportItFindsAndNamesTheDamagedOnes)
{
    const QString eva = encoded(QStringLiteral("Eva Šťastná"), QStringLiteral("2.B"), 18, 2);
    const QString jan = encoded(QStringLiteral("Jan Dvořák"), QStringLiteral("2.B"), 0, 0);
    const QString petr = encoded(QStringLiteral("Petr Ж"), QStringLiteral("2.C"), 1, 2);
    QStringList damaged =
        encoded(QStringLiteral("Karel"), QStringLiteral("2.C"), 3, 0).simplified().split(u' ');
    damaged[14] = QStringLiteral("q7");

    writeFile(path("eva.eml"), (QStringLiteral("Dobrý den,\r\nposílám výsledek.\r\n\r\n") + eva +
                                QStringLiteral("\r\nEva\r\n"))
                                   .toUtf8());
    QString quotedJan = QStringLiteral("> ") + jan;
    quotedJan.replace(QStringLiteral("\r\n"), QStringLiteral("\n> "));
    writeFile(path("dva.txt"),
              (QStringLiteral("Přeposílám:\n") + quotedJan + QStringLiteral("\nA ještě:\n") +
               damaged.join(u' ') + QStringLiteral("\n\n") + petr)
                  .toUtf8());
    const ToolResult result = runTool({QStringLiteral("dekoduj"), QStringLiteral("--csv"),
                                       path("zpravy.csv"), path("eva.eml"), path("dva.txt")});

    EXPECT_EQ(result.exitCode, 1);
    // Heading, the quoted report, "A ještě:", then the damaged report on one line.
    const auto damagedLine = quotedJan.count(u'\n') + 4;
    expectOneLineReason(result,
                        QStringLiteral("dva.txt, řádek %1: Dvojice č. 15 „q7“").arg(damagedLine),
                        "damaged report");
    for (const char* line : {"== ", "Student: Eva Šťastná\nTřída: 2.B\n", "Student: Jan Dvořák\n",
                             "Celkem odpovědí: 0\n", "Student: Petr ?\nTřída: 2.C\n",
                             "špatně: 2 (66,67%)\n", "Dekódováno zpráv: 3, nepřečteno: 1."}) {
        EXPECT_TRUE(result.out.contains(QString::fromUtf8(line)))
            << line << " not in " << result.out.toStdString();
    }
    EXPECT_EQ(fileBytes(path("zpravy.csv")),
              QByteArray("\xef\xbb\xbf"
                         "Jméno;Třída;Od;Do;Celkem;Dobře;Špatně\r\n"
                         "Eva Šťastná;2.B;05.12.2026 08:00;05.12.2026 08:45;20;18;2\r\n"
                         "Jan Dvořák;2.B;05.12.2026 08:00;05.12.2026 08:45;0;0;0\r\n"
                         "Petr ?;2.C;05.12.2026 08:00;05.12.2026 08:45;3;1;2\r\n"));

    const ToolResult piped = runTool({QStringLiteral("dekoduj")}, eva.toUtf8());
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(piped.out.contains(QStringLiteral("== (standardní vstup), řádek 1 ==\nStudent: "
                                                  "Eva Šťastná\n")))
        << piped.out.toStdString();
}

TEST_F(DecodeTest, RefusesInputsWithoutReportsAndWritesNoTableItCannotFinish)
{
    writeFile(path("prazdny.txt"), "");
    writeFile(path("obrazek.png"), QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16));
    writeFile(path("dopis.txt"), "Dobrý den,\nzprávu pošlu zítra.\nJan\n");
    writeFile(path("uprostred.txt"), encoded(QStringLiteral("Eva"), QStringLiteral("1.A"), 1, 1)
                                         .simplified()
                                         .section(u' ', 0, 30)
                                         .toUtf8());
    struct Case
    {
        const char* name;
        QStringList arguments;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"empty file", {path("prazdny.txt")}, "prazdny.txt: soubor je prázdný"},
        {"binary file", {path("obrazek.png")}, "obrazek.png: není textový soubor"},
        {"letter without a report", {path("dopis.txt")}, "dopis.txt: žádná zpráva"},
        {"missing file", {path("chybi.txt")}, "chybi.txt: soubor nelze otevřít"},
        {"truncated report",
         {path("uprostred.txt")},
         "uprostred.txt, řádek 1: Zpráva je useknutá: za dvojicí č. 31"},
        {"table into a missing folder",
         {QStringLiteral("--csv"), path("chybi/zpravy.csv"), path("dopis.txt")},
         "chybi/zpravy.csv nelze zapsat"},
    };
    for (const Case& c : cases) {
        const ToolResult result = runTool(QStringList{QStringLiteral("dekoduj")} + c.arguments);
        expectOneLineReason(result, QString::fromUtf8(c.reasonPart), c.name);
    }
    EXPECT_FALSE(QDir(path("chybi")).exists());
}

class ResultsTest : public TeacherToolTest
{
protected:
    void SetUp() override
    {
        m_db = createDatabase(QByteArray("Příjmení;Třída\nNovák;2.B\nBeneš;2.B\nČerný;2.B\n"
                                         "Adámek;2.C\n"));
        Database database(m_db);
        const QDate day(2026, 12, 4);
        database.addResult(QStringLiteral("Novák"), QStringLiteral("2.B"), 17, 3,
                           QDateTime(day, QTime(8, 0, 5)), QDateTime(day, QTime(8, 44, 59)));
        database.addResult(QStringLiteral("Adámek"), QStringLiteral("2.C"), 0, 0,
                           QDateTime(day, QTime(9, 10, 0)), QDateTime(day, QTime(9, 11, 30)));
        // A run over midnight: the end date is stored.
        database.addResult(QStringLiteral("Novák"), QStringLiteral("2.B"), 8, 0,
                           QDateTime(day, QTime(23, 50, 0)),
                           QDateTime(day.addDays(1), QTime(0, 5, 0)));
        database.addResult(QStringLiteral("Beneš; \"B\""), QStringLiteral("2.B"), QVariant(), 5,
                           QDateTime(day, QTime(10, 0, 0)), QDateTime(day, QTime(10, 30, 0)));
    }

    QString m_db;
};

TEST_F(ResultsTest, ExportsEveryRunAsATableForSpreadsheets)
{
    const QByteArray expected(
        "\xef\xbb\xbf"
        "Příjmení;Třída;Správně;Chybně;Začátek;Konec;Datum;Přihlášen jako;"
        "Typ zkoušky\r\n"
        "Novák;2.B;17;3;08:00:05;08:44:59;04.12.2026;zak01;2\r\n"
        "Adámek;2.C;0;0;09:10:00;09:11:30;04.12.2026;zak01;2\r\n"
        "Novák;2.B;8;0;23:50:00;00:05:00;05.12.2026;zak01;2\r\n"
        "\"Beneš; \"\"B\"\"\";2.B;;5;10:00:00;10:30:00;04.12.2026;zak01;2\r\n");
    const ToolResult toScreen = runTool({QStringLiteral("export"), QStringLiteral("--db"), m_db});
    EXPECT_EQ(toScreen.exitCode, 0) << toScreen.err.toStdString();
    EXPECT_EQ(toScreen.outBytes, expected);

    const ToolResult toFile = runTool({QStringLiteral("export"), QStringLiteral("--db"), m_db,
                                       QStringLiteral("--vystup"), path("vysledky.csv")});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    EXPECT_EQ(fileBytes(path("vysledky.csv")), expected);
    EXPECT_TRUE(toFile.out.contains(QStringLiteral("Zapsáno výsledků: 4")));

    // A failed export leaves the earlier table as it was.
    expectOneLineReason(
        runTool({QStringLiteral("export"), QStringLiteral("--db"), path("chybi.sqlite"),
                 QStringLiteral("--vystup"), path("vysledky.csv")}),
        QStringLiteral("neexistuje"), "missing database");
    EXPECT_EQ(fileBytes(path("vysledky.csv")), expected);
    expectOneLineReason(runTool({QStringLiteral("export"), QStringLiteral("--db"), m_db,
                                 QStringLiteral("--vystup"), path("chybi/vysledky.csv")}),
                        QStringLiteral("nelze zapsat"), "missing folder");
}

TEST_F(ResultsTest, PrintsTheTotalsOfEveryPupilInCzechOrder)
{
    const auto lines = [](const QString& out) {
        QStringList simplified;
        for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
            simplified.append(line.simplified());
        }
        return simplified;
    };
    struct Case
    {
        const char* name;
        QStringList arguments;
        QStringList expected;
    };
    const QString header = QStringLiteral("Příjmení Třída Cvičení Dobře Špatně Úspěšnost");
    const Case cases[] = {
        {"all classes",
         {},
         {header, QStringLiteral("Beneš 2.B 0 0 0 –"),
          QStringLiteral("Beneš; \"B\" 2.B 1 0 5 0,00 %"), QStringLiteral("Černý 2.B 0 0 0 –"),
          QStringLiteral("Novák 2.B 2 25 3 89,29 %"), QStringLiteral("Adámek 2.C 1 0 0 –")}},
        {"one class",
         {QStringLiteral("--trida"), QStringLiteral("2.C")},
         {header, QStringLiteral("Adámek 2.C 1 0 0 –")}},
    };
    for (const Case& c : cases) {
        const ToolResult result = runTool(
            QStringList{QStringLiteral("souhrn"), QStringLiteral("--db"), m_db} + c.arguments);
        EXPECT_EQ(result.exitCode, 0) << c.name << ": " << result.err.toStdString();
        EXPECT_EQ(lines(result.out), c.expected) << c.name << ":\n" << result.out.toStdString();
    }
    expectOneLineReason(runTool({QStringLiteral("souhrn"), QStringLiteral("--db"), m_db,
                                 QStringLiteral("--trida"), QStringLiteral("9.Z")}),
                        QStringLiteral("Třída 9.Z nemá"), "unknown class");
}

} // namespace
} // namespace voltmetr
