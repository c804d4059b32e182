// Storing a run and reading the pupil's totals when "Prehled " has grown to a million rows
// (10,000 surnames, a hundred runs each), against reading the totals by walking the whole
// table row by row and comparing surnames. Prints the ratio of the two at the end.
//
// store_bench [location] [benchmark options]   an SQLite file in a temporary folder unless a
//                                              location is given; a server's school tables are
//                                              made anew (scripts/throwaway-pgserver.sh
//                                              starts a throwaway server)
#include "emptydatabase.h"
#include "school/resultsstore.h"
#include "school/schooldatabase.h"

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

// Where the school database is: a file in a temporary folder unless a server's location was
// given.
QString& location()
{
    static QString where;
    return where;
}

// One statement appends this many rows: a server answers each statement over the socket, and a
// million round trips would take longer than all the measuring.
constexpr int RowsPerInsert = 500;

// The school database, filled once for the whole run and analysed, as an administrator would
// after loading years of results, so that the engine knows the surname index is worth using.
const QString& databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString where =
            location().isEmpty() ? dir.filePath(QStringLiteral("skola.sqlite")) : location();
        const auto fail = [&](const QString& failure) {
            std::fprintf(stderr, "cannot prepare %s: %s\n", qPrintable(where), qPrintable(failure));
            std::exit(1);
        };
        if (const QString failure = voltmetr::bench::emptySchoolDatabase(where);
            !failure.isEmpty()) {
            fail(failure);
        }
        voltmetr::SchoolConnection connection(where, voltmetr::SchoolConnection::Access::Write);
        QSqlDatabase& db = connection.db();
        if (const QString failure = connection.openError() + voltmetr::beginWriting(db);
            !failure.isEmpty()) {
            fail(failure);
        }
        QStringList values;
        for (int i = 0; i < RowsPerInsert; ++i) {
            values << QStringLiteral("(?, '3.B', ?, ?, 0.35, 0.37, 46363, 'zak', 2)");
        }
        QSqlQuery insert(db);
        if (!insert.prepare(
                QStringLiteral(
                    "INSERT INTO \"Prehled \" (\"Prijmeni\", \"Trida\", \"Spravne\", \"Chybne\", "
                    "\"CasStrt\", \"CasEnd\", \"Datum\", \"Prihlasenjako\", \"TypZkous\") "
                    "VALUES ") +
                values.join(u','))) {
            fail(insert.lastError().text());
        }
        std::mt19937 random(2026);
        std::uniform_int_distribution<int> count(0, 30);
        for (int i = 0; i < Rows;) {
            for (int value = 0; value < 3 * RowsPerInsert; value += 3, ++i) {
                insert.bindValue(value, surname(i % Surnames));
                insert.bindValue(value + 1, count(random));
                insert.bindValue(value + 2, count(random));
            }
            if (!insert.exec()) {
                fail(insert.lastError().text());
            }
        }
        QSqlQuery analyse(db);
        if (const QString failure = voltmetr::commitWriting(db); !failure.isEmpty()) {
            fail(failure);
        }
        if (!analyse.exec(QStringLiteral("ANALYZE"))) {
            fail(analyse.lastError().text());
        }
        return where;
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

// The totals alone, on a connection that stays open: what the index makes of a million rows.
void BM_TotalsOnly(benchmark::State& state)
{
    voltmetr::SchoolConnection connection(databasePath(), voltmetr::SchoolConnection::Access::Read);
    int pupil = 0;
    for (auto _ : state) {
        voltmetr::PupilTotals totals;
        if (!voltmetr::readPupilTotals(connection.db(), surname(pupil++ * 7919 % Surnames), totals)
                 .isEmpty()) {
            state.SkipWithError("not read");
            break;
        }
        benchmark::DoNotOptimize(totals.rightCount);
    }
}
BENCHMARK(BM_TotalsOnly)->Unit(benchmark::kMillisecond);

// What every save pays before its first statement: a connection opened and closed again. On a
// server that starts a server process of its own, which is most of a save's time.
void BM_OpenConnection(benchmark::State& state)
{
    for (auto _ : state) {
        const voltmetr::SchoolConnection connection(databasePath(),
                                                    voltmetr::SchoolConnection::Access::Write);
        if (!connection.openError().isEmpty()) {
            state.SkipWithError("not opened");
            break;
        }
    }
}
BENCHMARK(BM_OpenConnection)->Unit(benchmark::kMillisecond);

// The same store, then the totals the naive way: every row fetched, every surname compared.
void BM_StoreRunAndScanEveryRow(benchmark::State& state)
{
    const voltmetr::ResultsStore store(databasePath());
    int pupil = 0;
    for (auto _ : state) {
        const voltmetr::ResultRow row = runOf(pupil++ * 7919 % Surnames);
        if (!store.appendRun(row).stored()) {
            state.SkipWithError("not stored");
            break;
        }
        {
            voltmetr::SchoolConnection connection(databasePath(),
                                                  voltmetr::SchoolConnection::Access::Read);
            std::vector<voltmetr::StoredResult> rows;
            if (!voltmetr::readStoredResults(connection.db(), rows).isEmpty()) {
                state.SkipWithError("not read");
                break;
            }
            std::int64_t right = 0;
            std::int64_t wrong = 0;
            for (const voltmetr::StoredResult& stored : rows) {
                if (stored.surname == row.surname) {
                    right += stored.rightCount.value_or(0);
                    wrong += stored.wrongCount.value_or(0);
                }
            }
            benchmark::DoNotOptimize(right + wrong);
        }
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
        std::printf(
            "\n%s\n%d rows, %d surnames: store + totals %.2f ms, store + full scan %.2f ms, "
            "the scan takes %.0f times as long\n",
            qPrintable(databasePath()), Rows, Surnames, indexed->second, naive->second,
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
    if (argc > 1) {
        location() = QString::fromLocal8Bit(argv[1]);
    }
    databasePath();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
