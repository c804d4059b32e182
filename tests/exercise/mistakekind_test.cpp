#include "app/procedury.h"
#include "exercise/mistakekind.h"
#include "support/mistakecases.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(MistakeKind, NamesTheLikeliestCauseOfAWrongAnswer)
{
    MeterTables tables;
    FillTables(tables);
    for (const testing::MistakeCase& c : testing::mistakeCases) {
        EXPECT_EQ(mistakeKind(c.answer, c.voltage, tables.Meters[c.meterNo], c.rangeInUse), c.kind)
            << c.name;
    }
}

} // namespace
} // namespace voltmetr
