#include "app/procedury.h"
#include "exercise/mistakekind.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace voltmetr {
namespace {

class MistakeKindTest : public ::testing::Test
{
protected:
    MistakeKindTest() { FillTables(tables); }
    MeterTables tables;
};

// Each row worked by hand. Meter 1 has 100 divisions and ranges 0.5 ... 200 V; meter 3 has 60
// divisions and 0.6, 1.2, 2.4, 6, 12, 24, 120 V; meter 4 has 30 divisions and 0.6, 1.2, 3, 6,
// 12, 30, 60, 120 V; meter 5 has 50 divisions and 0.5, 1, 2, 5, 10, 50, 100, 200 V.
TEST_F(MistakeKindTest, NamesTheLikeliestCauseOfAWrongAnswer)
{
    using K = MistakeKind;
    const struct
    {
        const char* name;
        int meterNo;
        float voltage;
        float rangeInUse;
        double answer;
        MistakeKind expected;
    } cases[] = {
        // 110 V on 200 V of 100 divisions: 55 divisions of 2 V.
        {"one place left; the 20 V range gives 11 too", 1, 110, 200, 11, K::DecimalShift},
        {"two places left", 1, 110, 200, 1.1, K::DecimalShift},
        {"four places right is no shifted point", 1, 110, 200, 1'100'000, K::Unrecognised},
        {"in kilovolts", 1, 110, 200, 0.11, K::SignOrUnit},
        {"one division above", 1, 110, 200, 112, K::DivisionsOff},
        // 5.5 V on 10 V: 55 divisions, which is the voltage times ten as well.
        {"divisions typed like a shifted point", 1, 5.5f, 10, 55, K::DivisionsTyped},
        // 22 V on 24 V of 60 divisions: 55 divisions of 0.4 V.
        {"divisions typed on 60 divisions", 3, 22, 24, 55, K::DivisionsTyped},
        {"55 divisions on the 120 V scale", 3, 22, 24, 110, K::OtherRangeScale},
        {"55 divisions on the 12 V scale", 3, 22, 24, 11, K::OtherRangeScale},
        {"one division of 0.4 V above", 3, 22, 24, 22.4, K::DivisionsOff},
        {"a position without a range is no scale", 3, 22, 24, 55.0 * -1 / 60, K::Unrecognised},
        // 2.5 V on 3 V of 30 divisions: 25 divisions of 0.1 V.
        {"25 divisions on the 6 V scale", 4, 2.5f, 3, 5, K::OtherRangeScale},
        {"two divisions of 0.1 V above", 4, 2.5f, 3, 2.7, K::DivisionsOff},
        // 1.4 V on 2 V of 50 divisions: 35 divisions of 0.04 V.
        {"two places right", 5, 1.4f, 2, 140, K::DecimalShift},
        {"in millivolts", 5, 1.4f, 2, 1400, K::SignOrUnit},
        {"nothing the numbers show", 5, 1.4f, 2, 0.73, K::Unrecognised},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mistakeKind(c.answer, c.voltage, tables.Meters[c.meterNo], c.rangeInUse),
                  c.expected)
            << c.name;
    }
}

// A cause explains an answer within the same 1 % as a right answer, its bounds included, and
// not a hair beyond. 110 V on 200 V of meter 1: 0.99 and 1.01 times 27.5 (the 50 V scale) are
// the doubles of 27.225 and 27.775, of 1100 (the point shifted) 1089 and 1111, of 55
// (divisions) 54.45 and 55.55, of -110 -108.9 and -111.1, of 114 and 106 (two divisions off)
// 112.86, 115.14 and 104.94, 107.06.
TEST_F(MistakeKindTest, ACauseExplainsAnAnswerUpToOnePercentAway)
{
    const double inf = std::numeric_limits<double>::infinity();
    const auto kind = [&](double answer) {
        return mistakeKind(answer, 110, tables.Meters[1], 200);
    };
    // cause; its bound toward minus and toward plus infinity; the kind it names there
    for (const auto& [cause, low, high, expected] :
         {std::tuple{"the 50 V scale", 27.225, 27.775, MistakeKind::OtherRangeScale},
          std::tuple{"the point shifted", 1089.0, 1111.0, MistakeKind::DecimalShift},
          std::tuple{"divisions typed", 54.45, 55.55, MistakeKind::DivisionsTyped},
          std::tuple{"the sign", -111.1, -108.9, MistakeKind::SignOrUnit},
          std::tuple{"two divisions off", 104.94, 115.14, MistakeKind::DivisionsOff}}) {
        EXPECT_EQ(kind(low), expected) << cause;
        EXPECT_EQ(kind(high), expected) << cause;
        EXPECT_EQ(kind(std::nextafter(low, -inf)), MistakeKind::Unrecognised) << cause;
        EXPECT_EQ(kind(std::nextafter(high, inf)), MistakeKind::Unrecognised) << cause;
    }
}

} // namespace
} // namespace voltmetr
