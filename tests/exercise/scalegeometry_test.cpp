#include "exercise/scalegeometry.h"

#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// Long numbered ticks every N / majorCount divisions, rounded: 50 / 3 = 16.7 gives every 17th.
TEST(ScaleMarks, ALongNumberedTickEveryRoundedIntervalAndTheEndsOnTheArcsEnds)
{
    const std::vector<scale::ScaleMark> marks = scale::scaleMarks(50, 3);
    ASSERT_EQ(marks.size(), 51u);
    for (const auto& [division, angle, major, number] :
         {std::tuple{0, 55.0f, true, "0"}, std::tuple{16, 77.4f, false, ""},
          std::tuple{17, 78.8f, true, "17"}, std::tuple{34, 102.6f, true, "34"},
          std::tuple{50, 125.0f, false, ""}}) {
        const scale::ScaleMark& mark = marks[static_cast<std::size_t>(division)];
        EXPECT_FLOAT_EQ(mark.angle, angle) << division;
        EXPECT_EQ(std::pair(mark.major, mark.number), std::pair(major, QString::fromUtf8(number)))
            << division;
    }
    // The step is a float: on 30 divisions 70 / 30 is 2.33333325, so division 16 lies at
    // 16 x 2.33333325 + 55 = 92.3333321, whose nearest float is 92.3333282; the unrounded
    // 16 x 70 / 30 + 55 = 92.3333333 would give 92.3333359. The last one lands on 125 exactly.
    EXPECT_EQ(std::pair(scale::tickAngle(16, 30), scale::tickAngle(30, 30)),
              std::pair(92.33332824707031f, 125.0f));
}

// Twips of the face: the pivot is (3092.5, 4965); cos 55 = 0.5735764, sin 55 = 0.8191520.
TEST(ScaleGeometry, TicksCrossTheArcAndNumbersSitOnTheirOwnRadii)
{
    using namespace scale;
    // name; the point; x and y worked by hand
    for (const auto& [name, point, x, y] :
         {// A long tick reaches out to 4610 from the pivot, a short one to 4550:
          // 4610 x cos 55 = 2644.19, 4610 x sin 55 = 3776.29; 4550: 2609.77, 3727.14
          std::tuple{"long at 55, outer", tickAt(55, true).p1(), 448.31, 1188.71},
          std::tuple{"short at 125, outer", tickAt(125, false).p1(), 5702.27, 1237.86},
          // 4660 across and 4630 up: 4660 x cos 55 = 2672.87, 4630 x sin 55 = 3792.67.
          std::tuple{"number at 55", numberAnchor(55), 419.63, 1172.33},
          // The needle is 4750 long.
          std::tuple{"needle tip at 90", needleAt(90).p1(), 3092.5, 215.0}}) {
        EXPECT_NEAR(QLineF(point, QPointF(x, y)).length(), 0, 0.01) << name;
    }
}

} // namespace
} // namespace voltmetr
