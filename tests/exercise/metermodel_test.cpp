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
// can give, and for every task it can draw a voltage in [0.1 R, R) with the smallest range above
// it, found by the catalogue's own upward search, independent of the downward one under test.
TEST(MeterModel, EveryDrawableTaskHasAVoltageInRangeAndTheSmallestRangeAboveIt)
{
    MeterTables tables;
    FillTables(tables);
    const int lowest[] = {0, 1, 2, 2, 2, 2};
    const int highest[] = {0, 9, 8, 8, 9, 9};
    for (int no = 1; no <= 5; ++no) {
        const MeterType& m = tables.Meters[no];
        SCOPED_TRACE(::testing::Message() << "meter " << no);
        for (int p = 0; p <= 10; ++p) {
            EXPECT_EQ(isUsablePosition(m, p), p >= lowest[no] && p <= highest[no]) << p;
        }
        EXPECT_EQ(drawnPosition(m, LastDraw), highest[no]);
        for (int pos = lowest[no]; pos <= highest[no]; ++pos) {
            EXPECT_EQ(drawnPosition(m, static_cast<float>(pos - lowest[no]) / m.rangeCount), pos);
            EXPECT_EQ(drawnDivisions(m, pos, 0.0f), m.divisions / 10);
            EXPECT_EQ(drawnDivisions(m, pos, LastDraw), m.divisions - 1);
        }
    }
    for (const testing::DrawableTask& task : testing::drawableTasks()) {
        const MeterType& m = tables.Meters[task.meterNo];
        const float range = m.ranges[task.position];
        const float u = voltageOfDivisions(m, task.position, task.k);
        SCOPED_TRACE(::testing::Message() << "meter " << task.meterNo << " position "
                                          << task.position << " k " << task.k);
        EXPECT_GE(u, static_cast<float>(range * 0.1));
        EXPECT_LT(u, range);
        EXPECT_EQ(bestRangeFor(m, task.position, u), task.best);
    }
}

TEST(MeterModel, TheNeedleRestsAtNUOverROnTheSideThePolarityGives)
{
    MeterTables tables;
    FillTables(tables);
    // name; meter; position; volts; connected; polarity right; divisions
    for (const auto& [name, no, pos, volts, connected, right, divisions] :
         {std::tuple{"meter 1, 110 V on 200 V", 1, 9, 110.0f, true, true, 55.0f},
          std::tuple{"reversed", 1, 9, 110.0f, true, false, -55.0f},
          std::tuple{"disconnected", 1, 9, 110.0f, false, true, 0.0f},
          std::tuple{"disconnected and reversed", 1, 9, 110.0f, false, false, 0.0f},
          std::tuple{"meter 3, 22 V on 24 V", 3, 7, 22.0f, true, true, 55.0f},
          std::tuple{"meter 4, 1.5 V on 1.2 V", 4, 3, 1.5f, true, true, 37.5f},
          std::tuple{"meter 5, 1.4 V on 2 V reversed", 5, 4, 1.4f, true, false, -35.0f}}) {
        SCOPED_TRACE(name);
        EXPECT_FLOAT_EQ(steadyDeflection(tables.Meters[no], pos, volts, connected, right),
                        divisions);
    }
    // Meters with eight ranges turn an eight-position dial, the others the nine-position one.
    for (int no = 1; no <= 5; ++no) {
        EXPECT_EQ(usesEightPositionDial(tables.Meters[no]), no >= 4) << "meter " << no;
    }
}

} // namespace
} // namespace voltmetr
