#pragma once

#include <array>
#include <vector>

namespace voltmetr::testing {

// The five meters as the catalogue prints them, typed out independently of the program's
// tables: divisions and the full scale of switch positions 1 to 9 in whole millivolts (0 where
// a position has no range).
struct CatalogueMeter
{
    int divisions;
    std::array<long long, 9> millivolts;
};

inline constexpr std::array<CatalogueMeter, 5> meterCatalogue{{
    {100, {500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000}},
    {120, {0, 600, 1200, 2400, 6000, 12000, 24000, 120000, 0}},
    {60, {0, 600, 1200, 2400, 6000, 12000, 24000, 120000, 0}},
    {30, {0, 600, 1200, 3000, 6000, 12000, 30000, 60000, 120000}},
    {50, {0, 500, 1000, 2000, 5000, 10000, 50000, 100000, 200000}},
}};

// A task the generator can draw: k whole divisions on a position, from a tenth of the scale to
// one division short of full scale, and the smallest range strictly above its voltage.
struct DrawableTask
{
    int meterNo;
    int position;
    int k;
    long long voltageMillivolts; // k x range / N, whole on every meter of the catalogue
    int best;
};

inline std::vector<DrawableTask> drawableTasks()
{
    std::vector<DrawableTask> tasks;
    for (int no = 1; no <= 5; ++no) {
        const CatalogueMeter& meter = meterCatalogue[no - 1];
        for (int position = 1; position <= 9; ++position) {
            const long long range = meter.millivolts[position - 1];
            for (int k = meter.divisions / 10; range != 0 && k < meter.divisions; ++k) {
                const long long voltage = k * range / meter.divisions;
                int best = 1;
                while (meter.millivolts[best - 1] <= voltage) {
                    ++best;
                }
                tasks.push_back({no, position, k, voltage, best});
            }
        }
    }
    return tasks;
}

} // namespace voltmetr::testing
