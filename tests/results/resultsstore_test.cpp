#include "results/resultsstore.h"
#include "results/runsummary.h"
#include "schoolfile.h"
#include "signin/profile.h"

#include <QFile>
#include <QProcess>

namespace voltmetr {
namespace {

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
    ResultRow run;
    run.rightCount = 4;
    run.wrongCount = 1;
    for (const auto& [name, surname, expected] : cases) {
        testing::SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        file.addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák"), null, 3);
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        run.surname = QString::fromUtf8(surname);
        const RunStored stored = ResultsStore(file.path()).appendRun(run);
        EXPECT_EQ(stored.totals, expected) << name << ": " << stored.error.toStdString();
    }
}

// A pupil listed without surname or class signs in as "; " and finishes a run on a computer
// that could not tell the login name: the row keeps empty texts, and the totals count the runs
// stored under the empty surname, this one included.
TEST(ResultsStore, EmptyTextsAreStoredAsTextAndAnEmptySurnameCountsThisRun)
{
    const QVariant null(QMetaType::fromType<QString>());
    const QString empty = QStringLiteral("");
    const std::pair<const char*, QVariant> cases[] = {
        {"empty surname and class", empty},
        {"NULL surname and class", null},
    };
    for (const auto& [name, field] : cases) {
        testing::SchoolFile file;
        file.addPupil(field, field);
        file.addResult(empty, 3, 2);
        file.addResult(null, 10, 10); // a row without surname belongs to no pupil
        const PupilsRead read = ResultsStore(file.path()).readPupils();
        ASSERT_EQ(read.pupils.size(), 1u) << name;
        const Profile profile = parseProfileEntry(profileEntry(read.pupils[0]));
        Data_a_promene state;
        state.ProfileSurname = profile.surname;
        state.ProfileClass = profile.className;
        state.RightCount = 4;
        state.WrongCount = 1;
        const RunStored stored =
            ResultsStore(file.path()).appendRun(resultRowFor(state, 46363.5, QString()));
        EXPECT_EQ(stored.totals, (PupilTotals{3 + 4, 2 + 1})) << name;
        const QVariantList row = file.resultRows().back();
        for (const int text : {0, 1, 7}) { // surname, class, login name
            EXPECT_TRUE(!row[text].isNull() && row[text].toString().isEmpty()) << name << text;
        }
    }
}

// Another computer holds the file longer than the store waits: the row is not stored, and
// the summary gets the reason to hand the run out instead.
TEST(ResultsStore, ALockedDatabaseIsWaitedForThenReported)
{
    testing::SchoolFile file;
    file.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const RunStored stored = ResultsStore(file.path(), 100).appendRun({});
    EXPECT_FALSE(stored.stored || stored.error.isEmpty());
}

// Eight computers finishing at once all append to one file on a school share, whose path has
// blanks, diacritics, and "#" and "?" that a URI would cut off: every row arrives exactly once.
TEST(ResultsStore, EightWritersOfAHundredRowsEachStoreExactly800)
{
    testing::SchoolFile file(QStringLiteral("Školní data #1?x=y%20.sqlite"));
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 8; ++w) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->start(QStringLiteral(STORE_WRITER_PATH), {file.path(), QString::number(w)});
    }
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(120'000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }
    EXPECT_EQ(file.resultRows().size(), 800u);
}

} // namespace
} // namespace voltmetr
