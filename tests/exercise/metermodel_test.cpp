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

TEST_F(MeterModel, WorkedExamplesOfTheTaskDraw)
{
    struct Case
    {
        const char* name;
        int meter;
        float r1, r2;
        int position, k;
        float voltage;
        int bestRange;
    };
    const Case cases[] = {
        {"meter 1, 110 V on the 200 V position", 1, 0.99f, 0.5f, 9, 55, 110.0f, 9},
        {"meter 3, 22 V read on 24 V", 3, 0.9f, 0.1f, 8, 11, 22.0f, 7},
        {"meter 5, 1.4 V read on 2 V", 5, 0.6f, 0.05f, 6, 7, 1.4f, 4},
    };
    for (const Case& c : cases) {
        const MeterType& m = meter(c.meter);
        const int position = drawnPosition(m, c.r1);
        EXPECT_EQ(position, c.position) << c.name;
        const int k = drawnDivisions(m, position, c.r2);
        EXPECT_EQ(k, c.k) << c.name;
        const float voltage = voltageOfDivisions(m, position, k);
        EXPECT_FLOAT_EQ(voltage, c.voltage) << c.name;
        EXPECT_EQ(bestRangeFor(m, position, voltage), c.bestRange) << c.name;
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

TEST_F(MeterModel, BestRangeEdges)
{
    struct Case
    {
        const char* name;
        int meter, position;
        float voltage;
        int bestRange;
    };
    const Case cases[] = {
        {"full scale of a smaller range keeps the larger", 1, 3, 1.0f, 3},
        {"no 60 V range on meter 2", 2, 8, 24.0f, 8},
        {"no 60 V range on meter 3", 3, 8, 118.0f, 8},
        {"just under 24 V on meter 3", 3, 8, 23.0f, 7},
        {"no 20 V range on meter 5", 5, 7, 10.0f, 7},
        {"just under 50 V on meter 5", 5, 7, 49.0f, 7},
        {"never below the smallest range", 4, 5, 0.1f, 2},
        {"0.6 V is not below the float 0.6 range", 2, 4, 0.6f, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bestRangeFor(meter(c.meter), c.position, c.voltage), c.bestRange) << c.name;
    }
}

TEST_F(MeterModel, SteadyDeflectionFollowsConnectionAndPolarity)
{
    const MeterType& m = meter(1); // 100 divisions, position 9 is 200 V
    EXPECT_FLOAT_EQ(steadyDeflection(m, 9, 110.0f, true, true), 55.0f);
    EXPECT_FLOAT_EQ(steadyDeflection(m, 9, 110.0f, true, false), -55.0f);
    EXPECT_EQ(steadyDeflection(m, 9, 110.0f, false, true), 0.0f);
    EXPECT_EQ(steadyDeflection(m, 9, 110.0f, false, false), 0.0f);
    EXPECT_FLOAT_EQ(steadyDeflection(m, 5, 110.0f, true, true), 1100.0f); // 10 V range
}

} // namespace
} // namespace voltmetr
