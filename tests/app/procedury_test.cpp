#include "app/procedury.h"

#include <array>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(FillTables, WritesTheDialTablesAsPrinted)
{
    // position; label Left, Top and pointer end X, Y of the nine-position dial; the same of the
    // eight-position dial (its position 1 has a hidden label at 0, 0 and no pointer end)
    const std::array<int, 9> dials[] = {
        {1, 4350, 5940, 4740, 6030, 0, 0, 0, 0},
        {2, 4350, 5670, 4760, 5810, 4350, 5790, 4760, 5900},
        {3, 4560, 5400, 4890, 5610, 4410, 5520, 4820, 5710},
        {4, 4860, 5190, 5110, 5500, 4680, 5280, 4960, 5580},
        {5, 5190, 5130, 5280, 5460, 5010, 5130, 5190, 5480},
        {6, 5520, 5190, 5520, 5520, 5340, 5130, 5410, 5490},
        {7, 5760, 5400, 5690, 5640, 5670, 5280, 5640, 5560},
        {8, 5940, 5660, 5790, 5840, 5880, 5520, 5760, 5720},
        {9, 5940, 5940, 5810, 6030, 5940, 5790, 5820, 5900},
    };

    MeterTables tables;
    FillTables(tables);
    for (const std::array<int, 9>& expected : dials) {
        const int p = expected[0];
        const PointXY knob9 = tables.KnobPoints9[p];
        const PointXY knob8 = p >= 2 ? tables.KnobPoints8[p - 1] : PointXY{};
        const std::array<int, 9> row{p,       tables.LabelLeft9[p], tables.LabelTop9[p], knob9.X,
                                     knob9.Y, tables.LabelLeft8[p], tables.LabelTop8[p], knob8.X,
                                     knob8.Y};
        EXPECT_EQ(row, expected);
    }
}

} // namespace
} // namespace voltmetr
