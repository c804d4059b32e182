#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "support/metercatalogue.h"

#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// The largest draw the random source can give.
constexpr float LastDraw = 1.0f - 0x1p-24f;

// For every meter: which positions are usable, the first and last position and divisions a draw
// can give, and for every task it can draw the smallest range above its voltage, found by the
// catalogue's own upward search, independent of the downward one under test.
TEST(MeterModel, EveryDrawableTaskCallsForTheSmallestRangeAboveIt)
{
    MeterTables tables;
    FillTables(tables);
    const int lowest[] = {0, 1, 2, 2, 2, 2};
    const int highest[] = {0, 9, 8, 8, 9, 9};
    for (int no = 1; no <= 5; ++no) {
        const MeterType& m = tables.Meters[no];
        for (int p = 0; p <= 10; ++p) {
            EXPECT_EQ(isUsablePosition(m, p), p >= lowest[no] && p <= highest[no]) << no << p;
        }
        EXPECT_EQ(drawnPosition(m, LastDraw), highest[no]) << no;
        for (int pos = lowest[no]; pos <= highest[no]; ++pos) {
            EXPECT_EQ(
                std::tuple(drawnPosition(m, static_cast<float>(pos - lowest[no]) / m.rangeCount),
                           drawnDivisions(m, pos, 0.0f), drawnDivisions(m, pos, LastDraw)),
                std::tuple(pos, m.divisions / 10, m.divisions - 1))
                << "meter " << no << " position " << pos;
        }
    }
    for (const testing::DrawableTask& task : testing::drawableTasks()) {
        const MeterType& m = tables.Meters[task.meterNo];
        EXPECT_EQ(bestRangeFor(m, task.position, voltageOfDivisions(m, task.position, task.k)),
                  task.best)
            << "meter " << task.meterNo << " position " << task.position << " k " << task.k;
    }
}

// The needle rests at N U / R divisions, on the side the polarity gives, and on zero when the
// meter is disconnected.
TEST(MeterModel, TheNeedleRestsAtNUOverROnTheSideThePolarityGives)
{
    MeterTables tables;
    FillTables(tables);
    // name; meter; position; volts; connected; polarity right; divisions
    for (const auto& [name, no, pos, volts, connected, right, divisions] :
         {std::tuple{"meter 1, 110 V on 200 V", 1, 9, 110.0f, true, true, 55.0f},
          std::tuple{"reversed", 1, 9, 110.0f, true, false, -55.0f},
          std::tuple{"disconnected and reversed", 1, 9, 110.0f, false, false, 0.0f},
          std::tuple{"meter 4, 1.5 V on 1.2 V", 4, 3, 1.5f, true, true, 37.5f}}) {
        EXPECT_FLOAT_EQ(steadyDeflection(tables.Meters[no], pos, volts, connected, right),
                        divisions)
            << name;
    }
    // A replayed task's needle: 55 + 70 k / N degrees, pegged on the stop 4 degrees past an end.
    for (const auto& [name, volts, range, right, degrees] :
         {std::tuple{"30 of 100 divisions", 3.0f, 10.0f, true, 76.0f},
          std::tuple{"reversed, 2 divisions left of zero", 0.2f, 10.0f, false, 53.6f},
          std::tuple{"reversed past the stop", 3.0f, 10.0f, false, 51.0f},
          std::tuple{"25 times full scale", 50.0f, 2.0f, true, 129.0f}}) {
        EXPECT_FLOAT_EQ(restingNeedleAngle(tables.Meters[1], range, volts, right), degrees) << name;
    }
}

} // namespace
} // namespace voltmetr
