#include "exercise/scalegeometry.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace voltmetr {
namespace {

TEST(ScaleMarks, ATickPerDivisionALongNumberedOneEveryTenthAndTheEndsOnTheArcsEnds)
{
    // name; divisions; numbered intervals; numbers in all; division: angle, long, number
    using Mark = std::tuple<int, float, bool, const char*>;
    for (const auto& [name, divisions, majorCount, numbers, expected] :
         {std::tuple{"meter 4", 30, 3, 4,
                     std::vector<Mark>{{0, 55.0f, true, "0"},
                                       {1, 57.33333f, false, ""},
                                       {10, 78.33333f, true, "10"},
                                       {20, 101.66667f, true, "20"},
                                       {29, 122.66667f, false, ""},
                                       {30, 125.0f, true, "30"}}},
          std::tuple{"meter 2", 120, 12, 13,
                     std::vector<Mark>{{0, 55.0f, true, "0"},
                                       {1, 55.58333f, false, ""},
                                       {10, 60.83333f, true, "10"},
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

// Twips of the face: the pivot is (3092.5, 4965); cos 55 = 0.5735764, sin 55 = 0.8191520.
TEST(ScaleGeometry, TicksCrossTheArcAndNumbersSitOnTheirOwnRadii)
{
    using namespace scale;
    // name; the point; x and y worked by hand
    for (const auto& [name, point, x, y] :
         {// A long tick runs from 4610 to 4390 from the pivot, a short one from 4550 to 4450:
          // 4610 x cos 55 = 2644.19, 4610 x sin 55 = 3776.29; 4390: 2518.00, 3596.08
          std::tuple{"long at 55, outer", tickAt(55, true).p1(), 448.31, 1188.71},
          std::tuple{"long at 55, inner", tickAt(55, true).p2(), 574.50, 1368.92},
          // 4550: 2609.77, 3727.14; 4450: 2552.42, 3645.23
          std::tuple{"short at 125, outer", tickAt(125, false).p1(), 5702.27, 1237.86},
          std::tuple{"short at 125, inner", tickAt(125, false).p2(), 5644.92, 1319.77},
          // 4660 across and 4630 up: 4660 x cos 55 = 2672.87, 4630 x sin 55 = 3792.67.
          std::tuple{"number at 90", numberAnchor(90), 3092.5, 335.0},
          std::tuple{"number at 55", numberAnchor(55), 419.63, 1172.33},
          std::tuple{"number at 125", numberAnchor(125), 5765.37, 1172.33},
          // The needle is 4750 long.
          std::tuple{"needle tip at 90", needleAt(90).p1(), 3092.5, 215.0},
          std::tuple{"needle at the pivot", needleAt(90).p2(), 3092.5, 4965.0}}) {
        EXPECT_NEAR(point.x(), x, 0.01) << name;
        EXPECT_NEAR(point.y(), y, 0.01) << name;
    }
}

} // namespace
} // namespace voltmetr
