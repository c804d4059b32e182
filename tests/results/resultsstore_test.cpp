#include "results/resultsstore.h"
#include "schoolfile.h"

#include <QFile>
#include <QProcess>
#include <QSet>

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
        const char* surname;
        PupilTotals expected;
    } cases[] = {
        {"first run of a surname", "Malá", {4, 1}},
        {"two pupils of one surname share totals, a NULL count adds 0",
         "Novák",
         {10 + 5 + 4, 2 + 3 + 1}},
        {"a surname with a semicolon is its own", "Novák;ml.", {1 + 4, 1 + 1}},
        {"the surname is compared exactly", "novák", {4, 1}},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        file.addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák"), null, 3);
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        file.addResult(QVariant(QMetaType::fromType<QString>()), 30, 30);
        const RunStored stored =
            ResultsStore(file.path()).appendRun(runOf(QString::fromUtf8(c.surname), 4, 1));
        EXPECT_EQ(stored.totals, c.expected) << c.name << ": " << stored.error.toStdString();
    }
}

// The store is given the path that follows the statement; it never creates a file.
TEST(ResultsStore, AFailedStoreSaysWhy)
{
    const struct
    {
        const char* name;
        const char* statement;
        const char* path;
    } cases[] = {
        {"results table missing", "DROP TABLE \"Prehled \"", "skola.sqlite"},
        {"a field missing", "ALTER TABLE \"Prehled \" DROP COLUMN TypZkous", "skola.sqlite"},
        {"locked by another computer longer than the store waits", "BEGIN EXCLUSIVE",
         "skola.sqlite"},
        {"file missing", "SELECT 1", "jinde/skola.sqlite"},
    };
    for (const auto& c : cases) {
        SchoolFile file;
        file.exec(QString::fromUtf8(c.statement));
        const QString path = file.folder() + u'/' + QString::fromUtf8(c.path);
        const RunStored stored = ResultsStore(path, 100).appendRun(runOf({}, 1, 0));
        EXPECT_FALSE(stored.stored || stored.error.isEmpty()) << c.name;
        EXPECT_EQ(QFile::exists(path), path == file.path()) << c.name;
    }
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
