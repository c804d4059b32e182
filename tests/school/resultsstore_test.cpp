#include "school/resultsstore.h"
#include "school/tasklogstore.h"
#include "support/schoolfile.h"
#include "support/throwawayserver.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

namespace voltmetr {
namespace {

using testing::ThrowawayServer;

enum class Engine
{
    File,
    Server
};

// An empty school database on either engine, made as the teacher's tool makes it, with a
// connection of the test's own to set rows up and read the stored ones back. The file's path has
// blanks, diacritics, and "#" and "?" that a URI would cut off; on the server the program stores
// as the pupils' role.
class SchoolDatabaseTest : public ::testing::TestWithParam<Engine>
{
protected:
    void SetUp() override
    {
        QString adminLocation;
        if (GetParam() == Engine::File) {
            adminLocation = m_folder.filePath(QStringLiteral("Školní data #1?x=y%20.sqlite"));
            QFile(adminLocation).open(QIODevice::WriteOnly); // an empty file is an empty database
            m_location = adminLocation;
        } else {
            adminLocation = ThrowawayServer::newDatabase();
            m_location = ThrowawayServer::asPupils(adminLocation);
        }
        m_admin.emplace(adminLocation, SchoolConnection::Access::Write);
        ASSERT_EQ(m_admin->openError() + createSchoolSchema(m_admin->db()), QString());
    }

    std::vector<QVariantList> exec(const QString& statement, const QVariantList& values = {})
    {
        return testing::rowsOf(m_admin->db(), statement, values);
    }

    // The fields left out stay NULL.
    void addResult(const QVariant& surname, const QVariant& right, const QVariant& wrong)
    {
        exec(QStringLiteral(
                 R"(INSERT INTO "Prehled " ("Prijmeni", "Spravne", "Chybne") VALUES (?, ?, ?))"),
             {surname, right, wrong});
    }

    QTemporaryDir m_folder;
    QString m_location; // where the pupils' program stores
    std::optional<SchoolConnection> m_admin;
};

INSTANTIATE_TEST_SUITE_P(BothEngines, SchoolDatabaseTest,
                         ::testing::Values(Engine::File, Engine::Server),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                             return engine.param == Engine::File ? "File" : "Server";
                         });

// The run is stored without class and login name, as on a computer that could not tell the
// login name: those fields, and an empty surname, are kept as empty text, never NULL, so that
// the totals of a pupil listed without surname count the run just stored.
TEST_P(SchoolDatabaseTest, TotalsAddEveryRunOfTheSurnameThisOneIncluded)
{
    const QVariant null(QMetaType::fromType<int>());
    const QVariant nullText(QMetaType::fromType<QString>());
    const std::tuple<const char*, QString, PupilTotals> cases[] = {
        {"first run of a surname", QStringLiteral("Malá"), {4, 1}},
        {"two pupils of one surname share totals, a NULL count adds 0",
         QStringLiteral("Novák"),
         {10 + 5 + 4, 2 + 3 + 1}},
        {"a surname with a semicolon is its own", QStringLiteral("Novák;ml."), {1 + 4, 1 + 1}},
        {"the surname is compared exactly", QStringLiteral("novák"), {4, 1}},
        {"an empty surname: the runs stored under it", QStringLiteral(""), {3 + 4, 2 + 1}},
        {"no surname at all: as an empty one", QString(), {3 + 4, 2 + 1}},
    };
    ResultRow run;
    run.rightCount = 4;
    run.wrongCount = 1;
    for (const auto& [name, surname, expected] : cases) {
        exec(QStringLiteral(R"(DELETE FROM "Prehled ")"));
        addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        addResult(QStringLiteral("Novák"), null, 3);
        addResult(QStringLiteral("Novák;ml."), 1, 1);
        addResult(QStringLiteral(""), 3, 2);
        addResult(nullText, 10, 10); // a row without surname belongs to no pupil
        run.surname = surname;
        const RunStored stored = ResultsStore(m_location).appendRun(run);
        EXPECT_EQ(stored.totals, expected) << name << ": " << stored.error.toStdString();
        const QVariantList row =
            exec(QStringLiteral(R"(SELECT * FROM "Prehled " ORDER BY rowid)")).back();
        EXPECT_EQ(row[0], surname) << name;
        for (const int text : {0, 1, 7}) { // surname, class, login name
            EXPECT_FALSE(row[text].isNull()) << name << ": field " << text << " is NULL";
        }
    }
}

// Eight computers finishing at once all append to one school database. Every row arrives
// exactly once, or its writer was told, why, as the pupil would be: under heavy load a writer
// may wait out the busy timeout, but no row is lost unreported and none is stored twice.
TEST_P(SchoolDatabaseTest, EightWritersOfAHundredRowsLoseNoneAndStoreNoneTwice)
{
    std::vector<std::unique_ptr<QProcess>> writers;
    QStringList expected;
    for (int w = 0; w < 8; ++w) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->start(QStringLiteral(STORE_WRITER_PATH), {m_location, QString::number(w)});
        for (int i = 0; i < 100; ++i) {
            expected << QStringLiteral("Zapisovatel %1|%2").arg(w).arg(i);
        }
    }
    QStringList arrived; // every row stored and every row refused
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(300'000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
        for (const QString& line :
             QString::fromUtf8(writer->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
            EXPECT_EQ(line.section(u'|', 2),
                      QStringLiteral("databázi právě zamyká jiný počítač a neuvolnil ji včas; "
                                     "zkuste to za chvíli znovu"));
            arrived << line.section(u'|', 0, 1);
        }
    }
    for (const QVariantList& row : exec(QStringLiteral(
             R"(SELECT "Prijmeni" || '|' || CAST("Spravne" AS TEXT) FROM "Prehled ")"))) {
        arrived << row[0].toString();
    }
    arrived.sort();
    expected.sort();
    EXPECT_EQ(arrived, expected);
}

// A pupil's computer switched off in the middle of a save leaves the engine's journal beside
// the file, and the half-written pages in it. The next sign-in rolls them back instead of
// being refused, twenty times over, and the file stays whole and writable.
TEST(ResultsStore, AWriterKilledInTheMiddleOfASaveBlocksNobody)
{
    testing::SchoolFile file;
    file.addPupil(QStringLiteral("Novák"), QStringLiteral("2.B"));
    file.database().close(); // the test's own connection would roll the journal back itself
    for (int kill = 1; kill <= 20; ++kill) {
        QProcess writer;
        writer.start(QStringLiteral(STORE_WRITER_PATH),
                     {file.path(), QStringLiteral("--uprostred")});
        ASSERT_TRUE(writer.waitForReadyRead(30'000))
            << kill << ": the writer did not start its save";
        writer.kill();
        writer.waitForFinished();
        ASSERT_TRUE(QFile::exists(file.path() + QStringLiteral("-journal"))) << kill;
        const PupilsRead read = ResultsStore(file.path()).readPupils();
        ASSERT_TRUE(read.ok()) << kill << ": " << read.error.toStdString();
        ASSERT_EQ(read.pupils.size(), 1u) << kill;
    }
    ResultRow run;
    run.surname = QStringLiteral("Novák");
    run.rightCount = 7;
    const RunStored stored = ResultsStore(file.path()).appendRun(run);
    EXPECT_EQ(stored.totals, (PupilTotals{7, 0})) << stored.error.toStdString();
    ASSERT_TRUE(file.database().open());
    EXPECT_EQ(file.exec(QStringLiteral("PRAGMA integrity_check")),
              std::vector<QVariantList>{{QStringLiteral("ok")}});
    EXPECT_EQ(file.resultRows().size(), 1u);
}

// The store's warnings about the run of one pupil, kept from whichever thread gives them.
class StoreWarnings
{
public:
    StoreWarnings()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(&keep);
    }
    ~StoreWarnings() { qInstallMessageHandler(s_previous); }

    QStringList about(const QString& pupil) const
    {
        const std::lock_guard lock(s_mutex);
        return s_lines.filter(pupil);
    }

private:
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg && qstrcmp(context.category, "voltmetr.database") == 0) {
            const std::lock_guard lock(s_mutex);
            s_lines << message;
        }
    }

    static inline std::mutex s_mutex;
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

// What the administrator finds in the log: a line when a save had to wait for other computers
// (how many attempts, how long) and one for each run not stored, whose pupil got the report
// instead (who, where, why); nothing when the save went through at once.
TEST(ResultsStore, TellsTheAdministratorOfWaitingAndOfEveryRunNotStored)
{
    constexpr int forGood = -1;
    const struct
    {
        const char* name;
        bool fileMissing;
        int heldMs; // how long another writer holds the file; 0 not at all
        int budgetMs;
        const char* reason; // the fall-back line's; nullptr when the run is stored
        bool waited;
    } cases[] = {
        {"stored at once", false, 0, 10'000, nullptr, false},
        {"the file is missing", true, 0, 10'000,
         "soubor databáze nejde otevřít: chybí, nebo k němu není přístup", false},
        {"held by another for a while", false, 1000, 10'000, nullptr, true},
        {"held by another for good", false, forGood, 300,
         "databázi právě zamyká jiný počítač a neuvolnil ji včas; zkuste to za chvíli znovu", true},
    };
    const QString pupil =
        QStringLiteral("žáka „Nováková“ (třída „2.B“, přihlášen jako „novakova“)");
    ResultRow run;
    run.className = QStringLiteral("2.B");
    run.loginName = QStringLiteral("novakova");
    run.surname = QStringLiteral("Nováková");
    for (const auto& c : cases) {
        StoreWarnings warnings;
        testing::SchoolFile file;
        const QString location =
            c.fileMissing ? file.folder() + QStringLiteral("/chybi.sqlite") : file.path();
        if (c.heldMs != 0) {
            ASSERT_EQ(beginWriting(file.database()), QString()) << c.name;
        }
        auto saving = std::async(std::launch::async,
                                 [&] { return ResultsStore(location, c.budgetMs).appendRun(run); });
        if (c.heldMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.heldMs));
            ASSERT_EQ(commitWriting(file.database()), QString()) << c.name;
        }
        const RunStored stored = saving.get();
        if (c.heldMs == forGood) {
            ASSERT_EQ(commitWriting(file.database()), QString()) << c.name;
        }
        EXPECT_EQ(stored.stored(), c.reason == nullptr) << c.name;
        QStringList expected;
        if (c.waited) {
            expected << QStringLiteral("Ukládání výsledku %1 do databáze %2 muselo čekat na jiné "
                                       "počítače: pokusů ")
                            .arg(pupil, location);
        }
        if (c.reason != nullptr) {
            expected << QStringLiteral("Výsledek %1 se do databáze %2 neuložil, žák ho dostal jako "
                                       "zakódovanou zprávu pro vyučujícího. Důvod: %3")
                            .arg(pupil, location, QString::fromUtf8(c.reason));
        }
        const QStringList lines = warnings.about(pupil);
        ASSERT_EQ(lines.size(), expected.size())
            << c.name << ": " << lines.join(u'\n').toStdString();
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i].startsWith(expected[i]))
                << c.name << ": " << lines[i].toStdString();
        }
        if (c.waited) {
            // "pokusů N, celkem M ms.": at least as long as the other writer held the file.
            static const QRegularExpression counts(
                QStringLiteral("pokusů (\\d+), celkem (\\d+) ms\\.$"));
            const QRegularExpressionMatch match = counts.match(lines[0]);
            ASSERT_TRUE(match.hasMatch()) << c.name << ": " << lines[0].toStdString();
            EXPECT_GE(match.captured(2).toInt(), c.heldMs > 0 ? c.heldMs : c.budgetMs) << c.name;
        }
    }
}

// Neither a reading nor a writing connection makes a database of a mistyped path, and a
// reading one, though it may roll back what a killed writer left, changes nothing itself.
TEST(SchoolConnection, NeverCreatesAFileAndAReaderChangesNothing)
{
    const std::tuple<const char*, SchoolConnection::Access, bool> cases[] = {
        {"reading", SchoolConnection::Access::Read, false},
        {"writing", SchoolConnection::Access::Write, true},
    };
    for (const auto& [name, access, changes] : cases) {
        testing::SchoolFile file;
        const QString missing = file.folder() + QStringLiteral("/chybi.sqlite");
        EXPECT_EQ(SchoolConnection(missing, access).openError(),
                  QStringLiteral("soubor databáze nejde otevřít: chybí, nebo k němu není přístup"))
            << name;
        EXPECT_FALSE(QFile::exists(missing)) << name;
        SchoolConnection connection(file.path(), access);
        QSqlQuery query(connection.db());
        EXPECT_EQ(query.exec(QStringLiteral("INSERT INTO Zaci VALUES ('Novák', '2.B')")), changes)
            << name;
        EXPECT_EQ(query.exec(QStringLiteral("DROP INDEX Prehled_Prijmeni")), changes) << name;
    }
}

// Two runs with their tasks, as the pupils' program stores them, read back as the teacher's
// side reads them: each task tied to its own run, every field as it was, an unanswered task
// without text and value.
TEST_P(SchoolDatabaseTest, EachRunsTaskLogIsStoredBesideItsRow)
{
    using V = TaskVerdict;
    const std::vector<TaskRecord> first = {
        {1, 100, 110, true, 200, 200, 2, 0, 0, false, QStringLiteral("55"), 55, V::Wrong, 30.5},
        {2, 60, 0.5f, false, 0.6f, 0.6f, 1, 1, 1, false, QStringLiteral("0,5"), 0.5, V::Right,
         12.25},
        {3, 30, 2.5f, false, 3, 0.6f, 0, 0, 1, true, std::nullopt, std::nullopt, V::Destroyed, 5},
    };
    const std::vector<TaskRecord> second = {
        {1, 50, 1.4f, true, 2, 2, 0, 0, 0, true, QStringLiteral("1.4 V"), 1.4, V::Dropped, 7}};
    ResultRow run;
    run.surname = QStringLiteral("Nováková");
    run.wrongCount = 2;
    ASSERT_TRUE(ResultsStore(m_location).appendRun(run, first).stored());
    run.surname = QStringLiteral("Malý");
    ASSERT_TRUE(ResultsStore(m_location).appendRun(run, second).stored());

    QSqlQuery query(m_admin->db());
    ASSERT_TRUE(query.exec(QStringLiteral(R"(SELECT r."Prijmeni", %1 FROM "Ulohy" JOIN )"
                                          R"("Prehled " r ON r.rowid = "Ulohy"."Beh")"
                                          R"( ORDER BY r.rowid, "Ulohy"."Poradi")")
                               .arg(taskLogColumns())))
        << query.lastError().text().toStdString();
    std::vector<TaskRecord> novakova, maly;
    while (query.next()) {
        (query.value(0).toString() == QStringLiteral("Malý") ? maly : novakova)
            .push_back(taskRecordAt(query, 1));
    }
    EXPECT_EQ(novakova, first);
    EXPECT_EQ(maly, second);
}

// A database made before the task log existed, or whose task table lost a column, still takes
// the run and its totals; the task log is left out and the administrator told why.
TEST_P(SchoolDatabaseTest, AnOlderDatabaseTakesTheRunWithoutItsTasks)
{
    const QString pupil =
        QStringLiteral("žáka „Nováková“ (třída „2.B“, přihlášen jako „novakova“)");
    const struct
    {
        const char* name;
        const char* change;
        QString warning;
    } cases[] = {
        {"no task table", R"(DROP TABLE "Ulohy")",
         QStringLiteral("Výsledek %1 se uložil bez záznamu úloh: v databázi chybí tabulka "
                        "„Ulohy“. Tabulku úloh doplní příkaz „voltmetr-ucitel aktualizuj“.")
             .arg(pupil)},
        {"a column missing", R"(ALTER TABLE "Ulohy" DROP COLUMN "Sekund")",
         QStringLiteral("Výsledek %1 se uložil bez záznamu úloh: v tabulce „Ulohy“ chybí sloupec "
                        "„Sekund“.")
             .arg(pupil)},
    };
    ResultRow run;
    run.surname = QStringLiteral("Nováková");
    run.className = QStringLiteral("2.B");
    run.loginName = QStringLiteral("novakova");
    run.rightCount = 1;
    run.wrongCount = 1;
    const std::vector<TaskRecord> tasks(2);
    for (const auto& c : cases) {
        // The task table as the teacher's tool adds it to an older database, then changed.
        exec(QStringLiteral(R"(DELETE FROM "Prehled ")"));
        QSqlQuery change(m_admin->db()); // a server prepares no change of a table
        ASSERT_TRUE(change.exec(QStringLiteral(R"(DROP TABLE IF EXISTS "Ulohy")"))) << c.name;
        ASSERT_EQ(addTaskLogTable(m_admin->db()).toStdString(), "") << c.name;
        ASSERT_TRUE(change.exec(QString::fromUtf8(c.change))) << c.name;
        StoreWarnings warnings;
        const RunStored stored = ResultsStore(m_location).appendRun(run, tasks);
        EXPECT_EQ(stored.totals, (PupilTotals{1, 1}))
            << c.name << ": " << stored.error.toStdString();
        EXPECT_EQ(exec(QStringLiteral(R"(SELECT COUNT(*) FROM "Prehled ")")).front().front(), 1)
            << c.name;
        EXPECT_EQ(warnings.about(pupil).join(u'\n').toStdString(), c.warning.toStdString())
            << c.name;
    }
}

} // namespace
} // namespace voltmetr
