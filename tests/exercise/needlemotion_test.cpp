#include "exercise/needlemotion.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(NeedleAngle, MapsTheScaleOntoSeventyDegrees)
{
    struct Case
    {
        const char* name;
        float deflection;
        int divisions;
        float angle;
    };
    const Case cases[] = {
        {"zero", 0.0f, 100, 55.0f},
        {"full scale", 100.0f, 100, 125.0f},
        {"full scale of 30", 30.0f, 30, 125.0f},
        {"half of 60", 30.0f, 60, 90.0f},
        {"upper stop", 74.0f / 70 * 60, 60, 129.0f},
        {"lower stop", -4.0f / 70 * 120, 120, 51.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(needleAngleOf(c.deflection, c.divisions), c.angle) << c.name;
    }
}

TEST(NeedleMotion, OvershootsByAboutThreePointSevenPercentAndCreepsBack)
{
    NeedleMotion motion;
    motion.startToward(100);
    EXPECT_FLOAT_EQ(motion.SlowCoef, 12.0f);
    EXPECT_FLOAT_EQ(motion.FastCoef, -112.0f);

    float peak = 0;
    int peakTick = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        motion.advance();
        if (motion.deflection() > peak) {
            peak = motion.deflection();
            peakTick = tick;
        }
    }
    EXPECT_NEAR(peak, 103.66f, 0.05f);
    EXPECT_EQ(peakTick, 12); // t = 0.48
    EXPECT_NEAR(motion.deflection(), 100.0f, 0.001f);
}

TEST(NeedleMotion, StartsFromTheDeflectionItShows)
{
    NeedleMotion motion;
    motion.startToward(40);
    for (int tick = 0; tick < 5; ++tick) {
        motion.advance();
    }
    const float shown = motion.deflection();
    motion.startToward(-10);
    EXPECT_FLOAT_EQ(motion.deflection(), shown);
    EXPECT_FLOAT_EQ(motion.NeedleBase, shown);
    EXPECT_FLOAT_EQ(motion.MotionStep, -10 - shown);
    EXPECT_EQ(motion.MotionTime, 0.0f);
    motion.advance();
    EXPECT_LT(motion.deflection(), shown);
}

} // namespace
} // namespace voltmetr
