// The needle timer ticks every 10 ms; one tick of the logic must stay far below that, so that
// drawing has the rest of the interval.
#include "exercise/exercise.h"
#include "quiethost.h"

#include <benchmark/benchmark.h>

namespace {

using namespace voltmetr;
using bench::QuietHost;

// Ticks of a needle swinging between zero and the task's reading, connected and disconnected
// in turn.
void needleTick(benchmark::State& state)
{
    QuietHost host;
    Data_a_promene run;
    Exercise exercise(host, run);
    exercise.Form_Load();
    exercise.RangePos = exercise.BestRange;
    exercise.PolarityRight = true;
    for (auto _ : state) {
        if (!exercise.timers().casovac) {
            exercise.Pripoj_Click();
        }
        exercise.casovac_Timer();
        benchmark::DoNotOptimize(exercise.needleAngle());
    }
}
BENCHMARK(needleTick);

// A whole answer: the checks, the judgement and the worked calculation of a wrong one.
void wrongAnswer(benchmark::State& state)
{
    QuietHost host;
    Data_a_promene run;
    Exercise exercise(host, run);
    exercise.Form_Load();
    exercise.RangePos = exercise.BestRange;
    const QString typed = QStringLiteral("1e9");
    for (auto _ : state) {
        benchmark::DoNotOptimize(exercise.Contin_Click(typed));
    }
}
BENCHMARK(wrongAnswer);

} // namespace

BENCHMARK_MAIN();
