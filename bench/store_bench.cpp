// Storing a run and reading the pupil's totals when "Prehled " has grown to a million rows
// (10,000 surnames, a hundred runs each), against reading the totals by walking the whole
// table row by row and comparing surnames. Prints the ratio of the two at the end.
#include "results/resultsstore.h"
#include "results/schooldatabase.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int Surnames = 10'000;
constexpr int Rows = 1'000'000;

QString surname(int i)
{
    return QStringLiteral("Žák %1").arg(i, 5, 10, QChar(u'0'));
}

voltmetr::ResultRow runOf(int pupil)
{
    voltmetr::ResultRow row;
    row.surname = surname(pupil);
    row.className = QStringLiteral("3.B");
    row.rightCount = 7;
    row.wrongCount = 3;
    row.startTime = 0.35;
    row.endTime = 0.37;
    row.date = 46363;
    row.loginName = QStringLiteral("zak");
    row.examType = 2;
    return row;
}

// The school file, filled once for the whole run.
const QString& databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("skola.sqlite"));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
            db.setDatabaseName(file);
            if (!db.open() || !voltmetr::createSchoolSchema(db).isEmpty() || !db.transaction()) {
                std::fprintf(stderr, "cannot prepare %s\n", qPrintable(file));
                std::exit(1);
            }
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral(
                "INSERT INTO \"Prehled \" (\"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", \"TypZkous\") "
                "VALUES (?, '3.B', ?, ?, 0.35, 0.37, 46363, 'zak', 2)"));
            std::mt19937 random(2026);
            std::uniform_int_distribution<int> count(0, 30);
            for (int i = 0; i < Rows; ++i) {
                insert.bindValue(0, surname(i % Surnames));
                insert.bindValue(1, count(random));
                insert.bindValue(2, count(random));
                if (!insert.exec()) {
                    std::fprintf(stderr, "%s\n", qPrintable(insert.lastError().text()));
                    std::exit(1);
                }
            }
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        return file;
    }();
    return path;
}

void BM_StoreRunAndTotals(benchmark::State& state)
{
    const voltmetr::ResultsStore store(databasePath());
    int pupil = 0;
    for (auto _ : state) {
        const voltmetr::RunStored stored = store.appendRun(runOf(pupil++ * 7919 % Surnames));
        if (!stored.totals) {
            state.SkipWithError("not stored");
            break;
        }
        benchmark::DoNotOptimize(stored.totals->rightCount);
    }
}
BENCHMARK(BM_StoreRunAndTotals)->Unit(benchmark::kMillisecond);

// The same store, then the totals the naive way: every row fetched, every surname compared.
void BM_StoreRunAndScanEveryRow(benchmark::State& state)
{
    const voltmetr::ResultsStore store(databasePath());
    int pupil = 0;
    for (auto _ : state) {
        const voltmetr::ResultRow row = runOf(pupil++ * 7919 % Surnames);
        if (!store.appendRun(row).stored) {
            state.SkipWithError("not stored");
            break;
        }
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scan"));
        db.setDatabaseName(databasePath());
        db.open();
        {
            QSqlQuery scan(db);
            scan.setForwardOnly(true);
            scan.exec(
                QStringLiteral("SELECT \"Prijmeni\", \"Spravne\", \"Chybne\" FROM \"Prehled \""));
            std::int64_t right = 0;
            std::int64_t wrong = 0;
            while (scan.next()) {
                if (scan.value(0).toString() == row.surname) {
                    right += scan.value(1).toLongLong();
                    wrong += scan.value(2).toLongLong();
                }
            }
            benchmark::DoNotOptimize(right + wrong);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("scan"));
    }
}
BENCHMARK(BM_StoreRunAndScanEveryRow)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration so that the ratio can be printed in the same run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                m_msPerIteration[run.benchmark_name()] =
                    run.GetAdjustedRealTime(); // in the benchmark's unit, milliseconds
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto indexed = m_msPerIteration.find("BM_StoreRunAndTotals");
        const auto naive = m_msPerIteration.find("BM_StoreRunAndScanEveryRow");
        if (indexed == m_msPerIteration.end() || naive == m_msPerIteration.end()) {
            return;
        }
        std::printf("\n%d rows, %d surnames: store + totals %.2f ms, store + full scan %.2f ms, "
                    "the scan takes %.0f times as long\n",
                    Rows, Surnames, indexed->second, naive->second,
                    naive->second / indexed->second);
    }

private:
    std::map<std::string, double> m_msPerIteration;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    databasePath();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
