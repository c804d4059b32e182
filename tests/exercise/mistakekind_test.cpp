#include "app/procedury.h"
#include "exercise/mistakekind.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

// Each row worked by hand. Meter 1 has 100 divisions and ranges 0.5 ... 200 V; meter 3 has 60
// divisions and 0.6, 1.2, 2.4, 6, 12, 24, 120 V; meter 4 has 30 divisions and 0.6, 1.2, 3, 6,
// 12, 30, 60, 120 V; meter 5 has 50 divisions and 0.5, 1, 2, 5, 10, 50, 100, 200 V.
TEST(MistakeKind, NamesTheLikeliestCauseOfAWrongAnswer)
{
    MeterTables tables;
    FillTables(tables);
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
        {"the needle's 55 divisions typed", 1, 110, 200, 55, MistakeKind::DivisionsTyped},
        {"one place left, though the 20 V range gives 11 too", 1, 110, 200, 11,
         MistakeKind::DecimalShift},
        {"two places left", 1, 110, 200, 1.1, MistakeKind::DecimalShift},
        {"four places right is no shifted point", 1, 110, 200, 1'100'000,
         MistakeKind::Unrecognised},
        {"negative", 1, 110, 200, -110, MistakeKind::SignOrUnit},
        {"in kilovolts", 1, 110, 200, 0.11, MistakeKind::SignOrUnit},
        {"one division above", 1, 110, 200, 112, MistakeKind::DivisionsOff},
        {"two divisions below", 1, 110, 200, 106, MistakeKind::DivisionsOff},
        {"three divisions below", 1, 110, 200, 104, MistakeKind::Unrecognised},
        {"55 divisions on the 50 V scale", 1, 110, 200, 27.5, MistakeKind::OtherRangeScale},
        {"within 1 % of the 50 V scale's 27.5", 1, 110, 200, 27.3, MistakeKind::OtherRangeScale},
        {"1.8 % beside the 50 V scale's 27.5", 1, 110, 200, 27.0, MistakeKind::Unrecognised},
        // 5.5 V on 10 V: 55 divisions, which is the voltage times ten as well.
        {"divisions typed that look like a shifted point", 1, 5.5f, 10, 55,
         MistakeKind::DivisionsTyped},
        // 22 V on 24 V of 60 divisions: 55 divisions of 0.4 V.
        {"divisions typed on 60 divisions", 3, 22, 24, 55, MistakeKind::DivisionsTyped},
        {"55 divisions on the 120 V scale", 3, 22, 24, 110, MistakeKind::OtherRangeScale},
        {"55 divisions on the 12 V scale", 3, 22, 24, 11, MistakeKind::OtherRangeScale},
        {"one division of 0.4 V above", 3, 22, 24, 22.4, MistakeKind::DivisionsOff},
        {"a switch position without a range is no scale", 3, 22, 24, 55.0 * -1 / 60,
         MistakeKind::Unrecognised},
        // 2.5 V on 3 V of 30 divisions: 25 divisions of 0.1 V.
        {"25 divisions on the 6 V scale", 4, 2.5f, 3, 5, MistakeKind::OtherRangeScale},
        {"two divisions of 0.1 V above", 4, 2.5f, 3, 2.7, MistakeKind::DivisionsOff},
        // 1.4 V on 2 V of 50 divisions: 35 divisions of 0.04 V.
        {"two places right", 5, 1.4f, 2, 140, MistakeKind::DecimalShift},
        {"in millivolts", 5, 1.4f, 2, 1400, MistakeKind::SignOrUnit},
        {"nothing the numbers show", 5, 1.4f, 2, 0.73, MistakeKind::Unrecognised},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mistakeKind(c.answer, c.voltage, tables.Meters[c.meterNo], c.rangeInUse),
                  c.expected)
            << c.name;
    }
}

} // namespace
} // namespace voltmetr
