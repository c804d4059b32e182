#include "app/procedury.h"
#include "exercise/rangecaption.h"
#include "exercise/scalegeometry.h"

#include <cmath>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

struct PointCase
{
    const char* name;
    float angle;
    double radius;
    QPointF expected;
};

// The places every meter is drawn against: the arc's ends and top, and the needle's tip at
// zero, straight up, full scale and on both stops.
TEST(ScaleGeometry, PointsOnTheFace)
{
    const PointCase cases[] = {
        {"arc start", 55, scale::arcRadius, {511.4, 1278.9}},
        {"arc top", 90, scale::arcRadius, {3092.5, 465}},
        {"arc end", 125, scale::arcRadius, {5673.6, 1278.9}},
        {"needle at zero", 55, scale::needleLength, {368.0, 1074.1}},
        {"needle straight up", 90, scale::needleLength, {3092.5, 215}},
        {"needle at full scale", 125, scale::needleLength, {5817.0, 1074.1}},
        {"needle on the lower stop", 51, scale::needleLength, {103.2, 1273.5}},
        {"needle on the upper stop", 129, scale::needleLength, {6081.8, 1273.5}},
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QPointF point = scale::pointAt(c.angle, c.radius);
        EXPECT_NEAR(point.x(), c.expected.x(), 1.0);
        EXPECT_NEAR(point.y(), c.expected.y(), 1.0);
    }
}

TEST(ScaleGeometry, TicksAreCentredOnTheArc)
{
    struct Case
    {
        const char* name;
        bool major;
        double length;
    };
    for (const Case c : {Case{"long", true, 220}, Case{"short", false, 100}}) {
        SCOPED_TRACE(c.name);
        for (const float angle : {55.0f, 78.333f, 125.0f}) {
            const QLineF tick = scale::tickAt(angle, c.major);
            EXPECT_NEAR(tick.length(), c.length, 0.01);
            EXPECT_NEAR(QLineF(scale::pivot, tick.center()).length(), scale::arcRadius, 0.01);
        }
    }
}

TEST(ScaleGeometry, EveryCatalogueMeterSpansTheArcWithANumberEveryTenDivisions)
{
    MeterTables tables;
    FillTables(tables);
    for (int meterNo = 1; meterNo <= 5; ++meterNo) {
        SCOPED_TRACE(meterNo);
        const MeterType& meter = tables.Meters[meterNo];
        EXPECT_EQ(scale::tickAngle(0, meter.divisions), 55.0f);
        EXPECT_EQ(scale::tickAngle(meter.divisions, meter.divisions), 125.0f);
        EXPECT_EQ(scale::majorSpacing(meter.divisions, meter.majorCount), 10);
    }
}

TEST(ScaleGeometry, NumbersSitJustOutsideTheLongTicks)
{
    const QPointF top = scale::numberAnchor(90);
    EXPECT_NEAR(top.x(), 3092.5, 0.01);
    EXPECT_NEAR(top.y(), 335, 0.01);
    const QPointF tickEnd = scale::tickAt(90, true).p1();
    EXPECT_NEAR(tickEnd.y() - top.y(), 20, 0.01);
}

struct CaptionCase
{
    const char* name;
    float volts;
    QLocale::Language language;
    const char* expected;
};

TEST(RangeCaption, ShortestTextWithTheSystemsSeparator)
{
    const CaptionCase cases[] = {
        {"half on a Czech system", 0.5f, QLocale::Czech, "0,5"},
        {"half in C", 0.5f, QLocale::C, "0.5"},
        {"single-precision 0.6 stays short", 0.6f, QLocale::Czech, "0,6"},
        {"single-precision 1.2 stays short", 1.2f, QLocale::C, "1.2"},
        {"single-precision 2.4 stays short", 2.4f, QLocale::Czech, "2,4"},
        {"whole volts have no separator", 200.0f, QLocale::Czech, "200"},
        {"ten", 10.0f, QLocale::C, "10"},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rangeCaption(c.volts, QLocale(c.language)), QString::fromUtf8(c.expected));
    }
}

} // namespace
} // namespace voltmetr
