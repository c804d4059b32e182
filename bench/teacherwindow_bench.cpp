// The teacher's window as the teacher opens it: the class list read, the first class's statistics
// read and its rows laid out and painted once, on a school year of a big school made by the
// sample-class tool:
//   voltmetr-ucitel zaloz --db rok.sqlite && voltmetr-sample-class --tridy 200 rok.sqlite
//   QT_QPA_PLATFORM=offscreen teacherwindow_bench rok.sqlite      (or a server's location)
// What a process start and the display's own start-up add comes on top and is not measured here.
#include "teacherwindow.h"

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>

namespace {

QString location;

void WindowOpensOnTheFirstClass(benchmark::State& state)
{
    int rows = 0;
    for (auto _ : state) {
        voltmetr::teacher::TeacherWindow window(location);
        window.show();
        benchmark::DoNotOptimize(window.grab()); // laid out and painted
        rows = window.pupilView()->model()->rowCount();
    }
    state.counters["rows"] = rows;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(WindowOpensOnTheFirstClass)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Použití: teacherwindow_bench DATABÁZE\n");
        return 2;
    }
    location = QString::fromLocal8Bit(argv[1]);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
