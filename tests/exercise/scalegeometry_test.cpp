#include "exercise/scalegeometry.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace voltmetr {
namespace {

// Twips of the face: cos 55 = 0.5735764, sin 55 = 0.8191520; the pivot is (3092.5, 4965).
constexpr double Twip = 0.01;

void expectPoint(const QPointF& actual, double x, double y)
{
    EXPECT_NEAR(actual.x(), x, Twip);
    EXPECT_NEAR(actual.y(), y, Twip);
}

TEST(ScaleMarks, ATickPerDivisionALongNumberedOneEveryTenthAndTheEndsOnTheArcsEnds)
{
    // name; divisions; numbered intervals; numbers in all; division: angle, long, number
    using Mark = std::tuple<int, float, bool, const char*>;
    for (const auto& [name, divisions, majorCount, numbers, expected] :
         {std::tuple{"meter 4", 30, 3, 4,
                     std::vector<Mark>{{0, 55.0f, true, "0"},
                                       {1, 57.33333f, false, ""},
                                       {9, 76.0f, false, ""},
                                       {10, 78.33333f, true, "10"},
                                       {15, 90.0f, false, ""},
                                       {20, 101.66667f, true, "20"},
                                       {29, 122.66667f, false, ""},
                                       {30, 125.0f, true, "30"}}},
          std::tuple{"meter 2", 120, 12, 13,
                     std::vector<Mark>{{0, 55.0f, true, "0"},
                                       {1, 55.58333f, false, ""},
                                       {10, 60.83333f, true, "10"},
                                       {60, 90.0f, true, "60"},
                                       {119, 124.41667f, false, ""},
                                       {120, 125.0f, true, "120"}}},
          // Not in the catalogue: 50 / 3 = 16.7 rounds to long ticks every 17 divisions.
          std::tuple{"50 divisions in 3", 50, 3, 3,
                     std::vector<Mark>{{0, 55.0f, true, "0"},
                                       {16, 77.4f, false, ""},
                                       {17, 78.8f, true, "17"},
                                       {34, 102.6f, true, "34"},
                                       {50, 125.0f, false, ""}}}}) {
        SCOPED_TRACE(name);
        const std::vector<scale::ScaleMark> marks = scale::scaleMarks(divisions, majorCount);
        ASSERT_EQ(marks.size(), static_cast<std::size_t>(divisions + 1));
        for (const auto& [division, angle, major, number] : expected) {
            SCOPED_TRACE(division);
            const scale::ScaleMark& mark = marks[static_cast<std::size_t>(division)];
            EXPECT_FLOAT_EQ(mark.angle, angle);
            EXPECT_EQ(mark.major, major);
            EXPECT_EQ(mark.number, QString::fromUtf8(number));
        }
        // The arc's ends exactly, not merely near them.
        EXPECT_EQ(marks.front().angle, 55.0f);
        EXPECT_EQ(marks.back().angle, 125.0f);
        // The step is a float: on 30 divisions 70 / 30 is 2.33333325, so division 16 lies at
        // 16 x 2.33333325 + 55 = 92.3333321, whose nearest float is 92.3333282; the unrounded
        // 16 x 70 / 30 + 55 = 92.3333333 would give 92.3333359.
        if (divisions == 30) {
            EXPECT_EQ(marks[16].angle, 92.33332824707031f);
        }
        int numbered = 0;
        for (const scale::ScaleMark& mark : marks) {
            numbered += mark.major ? 1 : 0;
        }
        EXPECT_EQ(numbered, numbers);
    }
}

TEST(ScaleGeometry, TicksCrossTheArcAndNumbersSitOnTheirOwnRadii)
{
    using scale::numberAnchor;
    using scale::tickAt;
    const QLineF longAt90 = tickAt(90, true);
    expectPoint(longAt90.p1(), 3092.5, 355); // 4965 - 4610
    expectPoint(longAt90.p2(), 3092.5, 575); // 4965 - 4390
    const QLineF shortAt90 = tickAt(90, false);
    expectPoint(shortAt90.p1(), 3092.5, 415); // 4965 - 4550
    expectPoint(shortAt90.p2(), 3092.5, 515); // 4965 - 4450

    // 4610 x cos 55 = 2644.19, 4610 x sin 55 = 3776.29; 4390: 2518.00, 3596.08
    const QLineF longAt55 = tickAt(55, true);
    expectPoint(longAt55.p1(), 448.31, 1188.71);
    expectPoint(longAt55.p2(), 574.50, 1368.92);
    // 4550: 2609.77, 3727.14; 4450: 2552.42, 3645.23
    const QLineF shortAt125 = tickAt(125, false);
    expectPoint(shortAt125.p1(), 5702.27, 1237.86);
    expectPoint(shortAt125.p2(), 5644.92, 1319.77);

    // Numbers: 4660 across and 4630 up. 4660 x cos 55 = 2672.87, 4630 x sin 55 = 3792.67.
    expectPoint(numberAnchor(90), 3092.5, 335);
    expectPoint(numberAnchor(55), 419.63, 1172.33);
    expectPoint(numberAnchor(125), 5765.37, 1172.33);

    // The needle, 4750 long: at 90 its tip is 4750 above the pivot.
    expectPoint(scale::needleAt(90).p1(), 3092.5, 215);
    expectPoint(scale::needleAt(90).p2(), 3092.5, 4965);
}

} // namespace
} // namespace voltmetr
