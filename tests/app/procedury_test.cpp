#include "app/procedury.h"
#include "support/metercatalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace voltmetr {
namespace {

TEST(FileExists, TellsFilesAndDirectoriesFromMissingPaths)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("skola.sqlite")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(FileExists(file.fileName()));
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("chybi.sqlite"))));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(DegToRad, UsesTheFifteenDigitFactorRoundedToFloat)
{
    // deg x 3.14159265358979 / 180 worked in double and rounded to the nearest float. Worked in
    // float, 2.5 degrees would come out one unit higher; with the full pi, so would 27.04.
    for (const auto& [deg, radians] :
         {std::pair{180.0f, 0x1.921fb6p+1f}, std::pair{90.0f, 0x1.921fb6p+0f},
          std::pair{55.0f, 0x1.eb7c16p-1f}, std::pair{125.0f, 0x1.1740b0p+1f},
          std::pair{2.5f, 0x1.657184p-5f}, std::pair{0x1.b0a282p+4f, 0x1.e341f8p-2f},
          std::pair{0.0f, 0.0f}}) {
        EXPECT_EQ(DegToRad(deg), radians) << deg;
    }
}

TEST(FillTables, WritesTheCatalogueAndTheDialTablesAsPrinted)
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
    for (int m = 1; m <= 5; ++m) {
        const MeterType& meter = tables.Meters[m];
        const testing::CatalogueMeter& printed = testing::catalogueMeter(m);
        EXPECT_EQ(std::tuple(int{meter.divisions}, int{meter.majorCount}, int{meter.rangeCount}),
                  std::tuple(printed.divisions, printed.majorCount, printed.rangeCount))
            << "meter " << m;
        for (int p = 1; p <= 9; ++p) {
            // The nearest float to the printed value, -1 where the position has no range.
            const long long mv = printed.rangeMillivolts(p);
            EXPECT_EQ(meter.ranges[p], mv == 0 ? -1.0f : static_cast<float>(mv) / 1000.0f)
                << "meter " << m << " position " << p;
        }
    }
    for (const std::array<int, 9>& expected : dials) {
        const int p = expected[0];
        const PointXY knob9 = tables.KnobPoints9[p];
        const PointXY knob8 = p >= 2 ? tables.KnobPoints8[p - 1] : PointXY{};
        const std::array<int, 9> row{p,       tables.LabelLeft9[p], tables.LabelTop9[p], knob9.X,
                                     knob9.Y, tables.LabelLeft8[p], tables.LabelTop8[p], knob8.X,
                                     knob8.Y};
        EXPECT_EQ(row, expected);
    }

    MeterTables again = tables;
    FillTables(again);
    EXPECT_EQ(again, tables) << "a second call writes the same values";
}

} // namespace
} // namespace voltmetr
