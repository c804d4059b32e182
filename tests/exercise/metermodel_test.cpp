#include "app/procedury.h"
#include "exercise/metermodel.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

// The largest draw the random source can give.
constexpr float LastDraw = 1.0f - 0x1p-24f;

class MeterModel : public ::testing::Test
{
protected:
    MeterModel() { FillTables(tables); }
    const MeterType& meter(int no) const { return tables.Meters[no]; }

    MeterTables tables;
};

TEST_F(MeterModel, UsablePositionsPerMeter)
{
    struct Case
    {
        int meter;
        int lowest;
        int highest;
    };
    const Case cases[] = {{1, 1, 9}, {2, 2, 8}, {3, 2, 8}, {4, 2, 9}, {5, 2, 9}};
    for (const Case& c : cases) {
        EXPECT_EQ(lowestUsablePosition(meter(c.meter)), c.lowest) << "meter " << c.meter;
        EXPECT_EQ(highestUsablePosition(meter(c.meter)), c.highest) << "meter " << c.meter;
        for (int p = 0; p <= 10; ++p) {
            EXPECT_EQ(isUsablePosition(meter(c.meter), p), p >= c.lowest && p <= c.highest)
                << "meter " << c.meter << " position " << p;
        }
    }
}

TEST_F(MeterModel, PositionDrawCoversExactlyTheUsablePositions)
{
    for (int no = 1; no <= 5; ++no) {
        const MeterType& m = meter(no);
        const int lowest = lowestUsablePosition(m);
        for (int i = 0; i < m.rangeCount; ++i) {
            const float r = static_cast<float>(i) / m.rangeCount;
            EXPECT_EQ(drawnPosition(m, r), lowest + i) << "meter " << no << " draw " << r;
        }
        EXPECT_EQ(drawnPosition(m, LastDraw), highestUsablePosition(m)) << "meter " << no;
    }
}

// For every meter, every position a task can be sized on and every k a draw can give: the
// voltage lies in [0.1 R, R) and the expected range is the smallest usable one above it, found
// here by an upward search independent of the downward one under test.
TEST_F(MeterModel, EveryDrawableTaskHasAVoltageInRangeAndTheSmallestRangeAboveIt)
{
    for (int no = 1; no <= 5; ++no) {
        const MeterType& m = meter(no);
        for (int pos = lowestUsablePosition(m); pos <= highestUsablePosition(m); ++pos) {
            const float range = m.ranges[pos];
            const int first = drawnDivisions(m, pos, 0.0f);
            const int last = drawnDivisions(m, pos, LastDraw);
            EXPECT_EQ(first, m.divisions / 10) << "meter " << no << " position " << pos;
            EXPECT_EQ(last, m.divisions - 1) << "meter " << no << " position " << pos;
            for (int k = first; k <= last; ++k) {
                const float u = voltageOfDivisions(m, pos, k);
                SCOPED_TRACE(::testing::Message()
                             << "meter " << no << " position " << pos << " k " << k << " U " << u);
                EXPECT_GE(u, static_cast<float>(range * 0.1));
                EXPECT_LT(u, range);
                int smallest = lowestUsablePosition(m);
                while (!(m.ranges[smallest] > u)) {
                    ++smallest;
                }
                EXPECT_EQ(bestRangeFor(m, pos, u), smallest);
            }
        }
    }
}

} // namespace
} // namespace voltmetr
