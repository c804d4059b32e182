#include "results/resultsstore.h"
#include "schoolfile.h"

#include <QProcess>
#include <QSqlQuery>

namespace voltmetr {
namespace {

// The run is stored without class and login name, as on a computer that could not tell the
// login name: those fields, and an empty surname, are kept as empty text, never NULL, so that
// the totals of a pupil listed without surname count the run just stored.
TEST(ResultsStore, TotalsAddEveryRunOfTheSurnameThisOneIncluded)
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
        testing::SchoolFile file;
        file.addResult(QStringLiteral("Novák"), 10, 2);   // 3.B
        file.addResult(QStringLiteral("Novák"), 5, null); // the other Novák, 1.A
        file.addResult(QStringLiteral("Novák"), null, 3);
        file.addResult(QStringLiteral("Novák;ml."), 1, 1);
        file.addResult(QStringLiteral(""), 3, 2);
        file.addResult(nullText, 10, 10); // a row without surname belongs to no pupil
        run.surname = surname;
        const RunStored stored = ResultsStore(file.path()).appendRun(run);
        EXPECT_EQ(stored.totals, expected) << name << ": " << stored.error.toStdString();
        const QVariantList row = file.resultRows().back();
        EXPECT_EQ(row[0], surname) << name;
        for (const int text : {0, 1, 7}) { // surname, class, login name
            EXPECT_FALSE(row[text].isNull()) << name << ": field " << text << " is NULL";
        }
    }
}

// Eight computers finishing at once all append to one file on a school share, whose path has
// blanks, diacritics, and "#" and "?" that a URI would cut off. Every row arrives exactly once,
// or its writer was told, why, as the pupil would be: under heavy load a writer may wait out
// the busy timeout, but no row is lost unreported and none is stored twice.
TEST(ResultsStore, EightWritersOfAHundredRowsLoseNoneAndStoreNoneTwice)
{
    testing::SchoolFile file(QStringLiteral("Školní data #1?x=y%20.sqlite"));
    std::vector<std::unique_ptr<QProcess>> writers;
    QStringList expected;
    for (int w = 0; w < 8; ++w) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->start(QStringLiteral(STORE_WRITER_PATH), {file.path(), QString::number(w)});
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
    for (const QVariantList& row :
         file.exec(QStringLiteral("SELECT Prijmeni || '|' || Spravne FROM \"Prehled \""))) {
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

} // namespace
} // namespace voltmetr
