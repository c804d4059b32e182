#include "app/procedury.h"
#include "exercise/mistakekind.h"

#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// Each row worked by hand; meter 3's ranges run from 0.6 V on position 2 to 120 V on position 8.
// A cause explains an answer up to 1 % away, its bound included: 0.99 x 27.5 is 27.225.
TEST(MistakeKind, NamesTheLikeliestCauseOfAWrongAnswer)
{
    MeterTables tables;
    FillTables(tables);
    using K = MistakeKind;
    // name; meter; voltage; range in use; answer; kind
    for (const auto& [name, meterNo, voltage, range, answer, expected] : {
             // 110 V on 200 V of 100 divisions: 55 divisions of 2 V.
             std::tuple{"point one left, 20 V scale too", 1, 110.0f, 200.0f, 11.0, K::DecimalShift},
             std::tuple{"point two left", 1, 110.0f, 200.0f, 1.1, K::DecimalShift},
             std::tuple{"in kilovolts", 1, 110.0f, 200.0f, 0.11, K::SignOrUnit},
             std::tuple{"the sign, 1 % off", 1, 110.0f, 200.0f, -111.1, K::SignOrUnit},
             std::tuple{"one division above", 1, 110.0f, 200.0f, 112.0, K::DivisionsOff},
             std::tuple{"50 V scale, 1 % off", 1, 110.0f, 200.0f, 27.225, K::OtherRangeScale},
             std::tuple{"divisions, 1 % off", 1, 110.0f, 200.0f, 54.45, K::DivisionsTyped},
             // 5.5 V on 6 V of 60 divisions: 55 divisions of 0.1 V, the voltage times ten too.
             std::tuple{"divisions, point one right", 3, 5.5f, 6.0f, 55.0, K::DivisionsTyped},
             // 22 V on 24 V of 60 divisions: 55 divisions of 0.4 V.
             std::tuple{"the highest range's scale", 3, 22.0f, 24.0f, 110.0, K::OtherRangeScale},
             std::tuple{"two divisions below", 3, 22.0f, 24.0f, 21.2, K::DivisionsOff},
             std::tuple{"no range, no scale", 3, 22.0f, 24.0f, 55.0 * -1 / 60, K::Unrecognised},
             // 2.5 V on 3 V of 30 divisions: 25 divisions of 0.1 V.
             std::tuple{"two divisions above", 4, 2.5f, 3.0f, 2.7, K::DivisionsOff},
             // 1.4 V on 2 V of 50 divisions: 35 divisions of 0.04 V.
             std::tuple{"point two right", 5, 1.4f, 2.0f, 140.0, K::DecimalShift},
             std::tuple{"in millivolts", 5, 1.4f, 2.0f, 1400.0, K::SignOrUnit},
         }) {
        EXPECT_EQ(mistakeKind(answer, voltage, tables.Meters[meterNo], range), expected) << name;
    }
}

} // namespace
} // namespace voltmetr
