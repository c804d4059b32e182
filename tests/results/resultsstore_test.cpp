#include "results/resultsstore.h"
#include "schoolfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <functional>
#include <memory>

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
    const struct
    {
        const char* name;
        QString surname;
        PupilTotals expected;
    } cases[] = {
        {"first run of a surname", QStringLiteral("Malá"), {4, 1}},
        {"two pupils of one surname share totals, a NULL count adds 0",
         QStringLiteral("Novák"),
         {10 + 5 + 4, 2 + 3 + 1}},
        {"a surname with a semicolon is its own", QStringLiteral("Novák;ml."), {1 + 4, 1 + 1}},
        {"the surname is compared exactly", QStringLiteral("novák"), {4, 1}},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        file.addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák"), null, 3);
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        file.addResult(QStringLiteral("Svoboda"), 50, 50);
        file.addResult(QVariant(QMetaType::fromType<QString>()), 30, 30);
        const RunStored stored = ResultsStore(file.path()).appendRun(runOf(c.surname, 4, 1));
        EXPECT_EQ(stored.totals, c.expected) << c.name << ": " << stored.error.toStdString();
    }
}

// A path from the school's share: blanks, diacritics, and "#" and "?" that a URI would cut.
TEST(ResultsStore, APathWithBlanksDiacriticsAndUriSignsIsFound)
{
    SchoolFile file;
    const QString folder = file.folder() + QStringLiteral("/Školní data #1?x=y%20");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/výsledky.sqlite");
    ASSERT_TRUE(QFile::copy(file.path(), path));
    const RunStored stored = ResultsStore(path).appendRun(runOf(QStringLiteral("Malá"), 2, 1));
    EXPECT_EQ(stored.totals, (PupilTotals{2, 1})) << stored.error.toStdString();
}

TEST(ResultsStore, ARowThatCannotBeStoredIsReportedAndNoFileIsCreated)
{
    const struct
    {
        const char* name;
        std::function<QString(SchoolFile&)> breakIt; // the path the store is then given
    } cases[] = {
        {"results table missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("DROP TABLE \"Prehled \""));
             return f.path();
         }},
        {"a field missing",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("ALTER TABLE \"Prehled \" DROP COLUMN \"TypZkous\""));
             return f.path();
         }},
        {"locked by another computer longer than the store waits",
         [](SchoolFile& f) {
             f.exec(QStringLiteral("BEGIN EXCLUSIVE"));
             return f.path();
         }},
        {"file missing", [](SchoolFile& f) { return f.folder() + QStringLiteral("/a/b.sqlite"); }},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        const QString path = c.breakIt(file);
        const RunStored stored =
            ResultsStore(path, 100).appendRun(runOf(QStringLiteral("Malá"), 1, 0));
        EXPECT_FALSE(stored.stored) << c.name;
        EXPECT_FALSE(stored.error.isEmpty()) << c.name;
        EXPECT_EQ(QFile::exists(path), path == file.path()) << c.name;
    }
}

// Eight computers finishing at once all append to one file: every row arrives exactly once.
TEST(ResultsStore, EightWritersOfAHundredRowsEachStoreExactly800)
{
    SchoolFile file;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < 8; ++w) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer->start(QStringLiteral(STORE_WRITER_PATH), {file.path(), QString::number(w)});
    }
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(120'000));
        EXPECT_EQ(writer->exitCode(), 0);
    }
    QSet<QString> distinct;
    for (const QVariantList& row : file.resultRows()) {
        distinct.insert(row[0].toString() + u'/' + row[2].toString());
    }
    EXPECT_EQ(file.resultRows().size(), 800u);
    EXPECT_EQ(distinct.size(), 800);
}

} // namespace
} // namespace voltmetr
