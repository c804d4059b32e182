#include "results/resultsstore.h"
#include "schoolfile.h"

#include <QFile>
#include <QProcess>

namespace voltmetr {
namespace {

using testing::SchoolFile;

ResultRow runOf(const QString& surname, std::int32_t right, std::int32_t wrong)
{
    ResultRow row;
    row.surname = surname;
    row.rightCount = right;
    row.wrongCount = wrong;
    return row;
}

TEST(ResultsStore, TotalsAddEveryRunOfTheSurnameThisOneIncluded)
{
    const QVariant null(QMetaType::fromType<int>());
    const std::tuple<const char*, const char*, PupilTotals> cases[] = {
        {"first run of a surname", "Malá", {4, 1}},
        {"two pupils of one surname share totals, a NULL count adds 0",
         "Novák",
         {10 + 5 + 4, 2 + 3 + 1}},
        {"a surname with a semicolon is its own", "Novák;ml.", {1 + 4, 1 + 1}},
        {"the surname is compared exactly", "novák", {4, 1}},
    };
    for (const auto& [name, surname, expected] : cases) {
        SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        file.addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák"), null, 3);
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        file.addResult(QVariant(QMetaType::fromType<QString>()), 30, 30);
        const RunStored stored =
            ResultsStore(file.path()).appendRun(runOf(QString::fromUtf8(surname), 4, 1));
        EXPECT_EQ(stored.totals, expected) << name << ": " << stored.error.toStdString();
    }
}

// Another computer holds the file longer than the store waits: the row is not stored, and
// the summary gets the reason to hand the run out instead.
TEST(ResultsStore, ALockedDatabaseIsWaitedForThenReported)
{
    SchoolFile file;
    file.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const RunStored stored = ResultsStore(file.path(), 100).appendRun(runOf({}, 1, 0));
    EXPECT_FALSE(stored.stored || stored.error.isEmpty());
}

// A path on a school share: blanks, diacritics, and "#" and "?", which a URI would cut off.
TEST(ResultsStore, APathWithBlanksDiacriticsAndUriSignsIsFound)
{
    SchoolFile file;
    const QString path = file.folder() + QStringLiteral("/Školní data #1?x=y%20.sqlite");
    ASSERT_TRUE(QFile::copy(file.path(), path));
    EXPECT_EQ(ResultsStore(path).appendRun(runOf(QStringLiteral("Malá"), 2, 1)).totals,
              (PupilTotals{2, 1}));
}

// Eight computers finishing at once all append to one file: every row arrives exactly once.
TEST(ResultsStore, EightWritersOfAHundredRowsEachStoreExactly800)
{
    SchoolFile file;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 8; ++w) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->start(QStringLiteral(STORE_WRITER_PATH), {file.path(), QString::number(w)});
    }
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(120'000));
        EXPECT_EQ(writer->exitCode(), 0);
    }
    EXPECT_EQ(file.resultRows().size(), 800u);
}

} // namespace
} // namespace voltmetr
