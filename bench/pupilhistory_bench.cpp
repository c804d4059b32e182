// One pupil's page as the teacher opens it: every run of the pupil and every task of those runs,
// read from a school year of a big school made by the sample-class tool:
//   voltmetr-ucitel zaloz --db rok.sqlite && voltmetr-sample-class --tridy 200 rok.sqlite
//   pupilhistory_bench rok.sqlite          (or a server's location)
// Each iteration reads ten pupils spread over the class list, opening the database for each.
#include "pupilhistory.h"
#include "school/pupilstore.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString location;

void OnePupilsHistory(benchmark::State& state)
{
    std::vector<voltmetr::Profile> listed;
    {
        voltmetr::SchoolConnection connection(location, voltmetr::SchoolConnection::Access::Read);
        if (const QString failure = voltmetr::readProfiles(connection.db(), listed);
            !failure.isEmpty() || listed.empty()) {
            state.SkipWithError("the class list cannot be read");
            return;
        }
    }
    constexpr std::size_t Pupils = 10;
    std::int64_t runs = 0;
    std::int64_t tasks = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < Pupils; ++i) {
            const voltmetr::Profile& pupil = listed[i * listed.size() / Pupils];
            QString failure;
            const auto history = voltmetr::teacher::readPupilHistoryAt(
                location, pupil.surname, pupil.className, voltmetr::Period(), failure);
            if (!history) {
                state.SkipWithError(failure.toStdString().c_str());
                return;
            }
            runs += static_cast<std::int64_t>(history->runs.size());
            for (const auto& run : history->runs) {
                tasks += run.tally.tasks;
            }
        }
    }
    state.counters["pupils"] = benchmark::Counter(static_cast<double>(Pupils),
                                                  benchmark::Counter::kIsIterationInvariantRate);
    state.counters["runs/pupil"] = static_cast<double>(runs) / static_cast<double>(Pupils) /
                                   static_cast<double>(state.iterations());
    state.counters["tasks/pupil"] = static_cast<double>(tasks) / static_cast<double>(Pupils) /
                                    static_cast<double>(state.iterations());
}
BENCHMARK(OnePupilsHistory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Použití: pupilhistory_bench DATABÁZE\n");
        return 2;
    }
    location = QString::fromLocal8Bit(argv[1]);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
