#include "results/resultsstore.h"
#include "schoolfile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using testing::SchoolFile;

ResultRow runOf(const QString& surname, const QString& className, std::int32_t right,
                std::int32_t wrong)
{
    ResultRow row;
    row.surname = surname;
    row.className = className;
    row.rightCount = right;
    row.wrongCount = wrong;
    row.startTime = 0.25;
    row.endTime = 0.3;
    row.date = 46363;
    row.loginName = QStringLiteral("zak");
    row.examType = 2;
    return row;
}

TEST(ResultsStore, StoresEveryFieldOfTheRowInOrder)
{
    SchoolFile file;
    ResultRow row = runOf(QStringLiteral("Dvořák"), QStringLiteral("2.B"), 7, 3);
    row.startTime = 0.99; // 23:45:36
    row.endTime = 0.0125; // 00:18, the next day
    row.date = 46364;
    row.loginName = QStringLiteral("dvorak.jan");
    const RunStored stored = ResultsStore(file.path()).appendRun(row);
    ASSERT_TRUE(stored.stored) << stored.error.toStdString();
    const auto rows = file.resultRows();
    ASSERT_EQ(rows.size(), 1u);
    const QVariantList expected = {QStringLiteral("Dvořák"),
                                   QStringLiteral("2.B"),
                                   7,
                                   3,
                                   0.99,
                                   0.0125,
                                   46364.0,
                                   QStringLiteral("dvorak.jan"),
                                   2};
    ASSERT_EQ(rows[0].size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[0][i].toString(), expected[i].toString()) << "field " << i;
    }
}

TEST(ResultsStore, TotalsAddEveryRunOfTheSurnameThisOneIncluded)
{
    const struct
    {
        const char* name;
        QString surname;
        PupilTotals expected;
    } cases[] = {
        {"first run: the totals are this run", QStringLiteral("Malá"), {4, 1}},
        {"two pupils of one surname share totals",
         QStringLiteral("Novák"),
         {10 + 5 + 4, 2 + 0 + 1}},
        {"the comparison is case-sensitive", QStringLiteral("novák"), {4, 1}},
        {"a surname with a semicolon is its own", QStringLiteral("Novák;ml."), {4 + 1, 1 + 1}},
        {"a trailing blank makes another surname", QStringLiteral("Novák "), {4, 1}},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);    // 3.B
        file.addResult(QStringLiteral("Svoboda"), 50, 50); // another pupil
        file.addResult(QStringLiteral("Novák"), 5, 0);     // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        file.addResult(QVariant(QMetaType::fromType<QString>()), 30, 30); // no surname
        const RunStored stored =
            ResultsStore(file.path()).appendRun(runOf(c.surname, QStringLiteral("3.B"), 4, 1));
        ASSERT_TRUE(stored.stored) << c.name << ": " << stored.error.toStdString();
        ASSERT_TRUE(stored.totals.has_value()) << c.name;
        EXPECT_EQ(*stored.totals, c.expected) << c.name;
    }
}

TEST(ResultsStore, ANullCountAddsNothing)
{
    const QVariant null(QMetaType::fromType<int>());
    SchoolFile file;
    file.addResult(QStringLiteral("Novák"), null, 6);
    file.addResult(QStringLiteral("Novák"), 8, null);
    file.addResult(QStringLiteral("Novák"), null, null);
    const RunStored stored =
        ResultsStore(file.path()).appendRun(runOf(QStringLiteral("Novák"), {}, 1, 1));
    ASSERT_TRUE(stored.totals.has_value()) << stored.error.toStdString();
    EXPECT_EQ(*stored.totals, (PupilTotals{8 + 1, 6 + 1}));
}

TEST(ResultsStore, ARowThatCannotBeStoredIsReportedAndLeavesNothingBehind)
{
    const struct
    {
        const char* name;
        const char* breakIt; // run on the test's own connection
    } cases[] = {
        {"results table missing", "DROP TABLE \"Prehled \""},
        {"a field missing", "ALTER TABLE \"Prehled \" DROP COLUMN \"TypZkous\""},
        {"a column refuses the value", "CREATE TRIGGER refuse BEFORE INSERT ON \"Prehled \" BEGIN "
                                       "SELECT RAISE(ABORT, 'no'); END"},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.exec(QString::fromUtf8(c.breakIt));
        const RunStored stored =
            ResultsStore(file.path()).appendRun(runOf(QStringLiteral("Malá"), {}, 1, 0));
        EXPECT_FALSE(stored.stored) << c.name;
        EXPECT_FALSE(stored.totals.has_value()) << c.name;
        EXPECT_FALSE(stored.error.isEmpty()) << c.name;
    }
}

TEST(ResultsStore, AMissingFileIsAnErrorAndIsNotCreated)
{
    SchoolFile file;
    const QString missing = file.folder() + QStringLiteral("/jinde/skola.sqlite");
    const QString vanished = file.folder() + QStringLiteral("/smazana.sqlite");
    for (const QString& path : {missing, vanished}) {
        const ResultsStore store(path);
        EXPECT_FALSE(store.appendRun(runOf(QStringLiteral("Malá"), {}, 1, 0)).stored);
        EXPECT_FALSE(store.readPupils().ok());
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    }
}

TEST(ResultsStore, ALockedDatabaseIsWaitedForThenReported)
{
    SchoolFile file;
    file.addPupil(QStringLiteral("Malá"), QStringLiteral("1.A"));
    file.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const ResultsStore store(file.path(), 100);
    const RunStored stored = store.appendRun(runOf(QStringLiteral("Malá"), {}, 1, 0));
    EXPECT_FALSE(stored.stored);
    EXPECT_FALSE(stored.error.isEmpty());
    const PupilsRead read = store.readPupils();
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.pupils.empty());
    file.exec(QStringLiteral("ROLLBACK"));
    EXPECT_TRUE(store.appendRun(runOf(QStringLiteral("Malá"), {}, 1, 0)).stored);
    EXPECT_TRUE(store.readPupils().ok());
}

TEST(ResultsStore, PupilsAreReadInTableOrderWithNullAsEmptyText)
{
    const QVariant null(QMetaType::fromType<QString>());
    SchoolFile file;
    file.addPupil(QStringLiteral("Svoboda"), QStringLiteral("2.A"));
    file.addPupil(QStringLiteral("Černá"), QStringLiteral("4.E"));
    file.addPupil(null, QStringLiteral("1.B"));
    file.addPupil(QStringLiteral("Novák;ml."), null);
    file.addPupil(QStringLiteral("Adámek"), QStringLiteral("3.C"));
    const PupilsRead read = ResultsStore(file.path()).readPupils();
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    const std::vector<Profile> expected = {
        {QStringLiteral("Svoboda"), QStringLiteral("2.A")},
        {QStringLiteral("Černá"), QStringLiteral("4.E")},
        {QString(), QStringLiteral("1.B")},
        {QStringLiteral("Novák;ml."), QString()},
        {QStringLiteral("Adámek"), QStringLiteral("3.C")},
    };
    EXPECT_EQ(read.pupils, expected);
}

TEST(ResultsStore, AnEmptyPupilsTableGivesAnEmptyList)
{
    SchoolFile file;
    const PupilsRead read = ResultsStore(file.path()).readPupils();
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_TRUE(read.pupils.empty());
}

TEST(ResultsStore, AnUnreadablePupilsTableIsReported)
{
    const struct
    {
        const char* name;
        const char* breakIt;
    } cases[] = {
        {"table missing", "DROP TABLE \"Zaci\""},
        {"surname field missing", "ALTER TABLE \"Zaci\" DROP COLUMN \"Prijmeni\""},
        {"class field missing", "ALTER TABLE \"Zaci\" RENAME COLUMN \"Trida\" TO \"Trieda\""},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addPupil(QStringLiteral("Malá"), QStringLiteral("1.A"));
        file.exec(QString::fromUtf8(c.breakIt));
        const PupilsRead read = ResultsStore(file.path()).readPupils();
        EXPECT_FALSE(read.ok()) << c.name;
        EXPECT_TRUE(read.pupils.empty()) << c.name;
    }
}

TEST(ResultsStore, AFileThatIsNoDatabaseIsReported)
{
    SchoolFile file(SchoolFile::Content::Nothing);
    const QString path = file.folder() + QStringLiteral("/poskozena.sqlite");
    QFile corrupt(path);
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray(4096, 'x'));
    corrupt.close();
    const ResultsStore store(path);
    EXPECT_FALSE(store.readPupils().ok());
    EXPECT_FALSE(store.appendRun(runOf(QStringLiteral("Malá"), {}, 1, 0)).stored);
    EXPECT_FALSE(ResultsStore(file.folder()).readPupils().ok()) << "a folder is no database";
}

// The path reaches the engine as a URI: blanks, diacritics, "#" and "?" must survive it.
TEST(ResultsStore, APathWithBlanksDiacriticsAndUriSignsIsFound)
{
    SchoolFile file;
    const QString folder = file.folder() + QStringLiteral("/Školní data #1?x=y%20");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/výsledky.sqlite");
    ASSERT_TRUE(QFile::copy(file.path(), path));
    const ResultsStore store(path);
    EXPECT_TRUE(store.readPupils().ok()) << store.readPupils().error.toStdString();
    const RunStored stored = store.appendRun(runOf(QStringLiteral("Malá"), {}, 2, 1));
    EXPECT_TRUE(stored.stored) << stored.error.toStdString();
    EXPECT_EQ(stored.totals, (PupilTotals{2, 1}));
}

} // namespace
} // namespace voltmetr
