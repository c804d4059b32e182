#include "app/procedury.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <utility>

namespace voltmetr {
namespace {

TEST(FileExists, TellsFilesAndDirectoriesFromMissingPaths)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("skola.sqlite"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    struct Case
    {
        const char* name;
        QString path;
        bool exists;
    };
    const Case cases[] = {
        {"existing file", file, true},
        {"existing directory", dir.path(), true},
        {"missing file", dir.filePath(QStringLiteral("chybi.sqlite")), false},
        {"empty path", QString(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.exists) << c.name;
    }
}

TEST(DegToRad, UsesTheFifteenDigitFactorRoundedToFloat)
{
    // deg x 3.14159265358979 / 180 worked in double and rounded to the nearest float.
    for (const auto& [deg, radians] :
         {std::pair{180.0f, 0x1.921fb6p+1f}, std::pair{90.0f, 0x1.921fb6p+0f},
          std::pair{55.0f, 0x1.eb7c16p-1f}, std::pair{125.0f, 0x1.1740b0p+1f},
          std::pair{0.0f, 0.0f}}) {
        EXPECT_EQ(DegToRad(deg), radians) << deg;
    }
}

TEST(Unscramble, ShiftsEveryCharacterDownByOne)
{
    EXPECT_EQ(Unscramble(QStringLiteral("bcd")), QStringLiteral("abc"));
    EXPECT_EQ(Unscramble(QString()), QString());
    EXPECT_EQ(Unscramble(QStringLiteral("0tsw0tlpmb")), QStringLiteral("/srv/skola"));
    // Windows-1250: "š" is 0x9A, its predecessor 0x99 is the trade mark sign.
    EXPECT_EQ(Unscramble(QStringLiteral("š")), QStringLiteral("™"));
}

TEST(FillTables, WritesTheCatalogueAndTheDialTablesAsPrinted)
{
    constexpr float none = -1;
    struct Meter
    {
        int divisions, majorCount, rangeCount;
        std::array<float, 9> ranges;
    };
    const Meter catalogue[] = {
        {100, 10, 9, {0.5f, 1, 2, 5, 10, 20, 50, 100, 200}},
        {120, 12, 7, {none, 0.6f, 1.2f, 2.4f, 6, 12, 24, 120, none}},
        {60, 6, 7, {none, 0.6f, 1.2f, 2.4f, 6, 12, 24, 120, none}},
        {30, 3, 8, {none, 0.6f, 1.2f, 3, 6, 12, 30, 60, 120}},
        {50, 5, 8, {none, 0.5f, 1, 2, 5, 10, 50, 100, 200}},
    };
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
        const Meter& expected = catalogue[m - 1];
        const MeterType& meter = tables.Meters[m];
        SCOPED_TRACE(::testing::Message() << "meter " << m);
        EXPECT_EQ(meter.divisions, expected.divisions);
        EXPECT_EQ(meter.majorCount, expected.majorCount);
        EXPECT_EQ(meter.rangeCount, expected.rangeCount);
        for (int p = 1; p <= 9; ++p) {
            EXPECT_EQ(meter.ranges[p], expected.ranges[p - 1]) << "position " << p;
        }
    }
    for (const auto& [p, left9, top9, x9, y9, left8, top8, x8, y8] : dials) {
        SCOPED_TRACE(::testing::Message() << "position " << p);
        EXPECT_EQ(tables.LabelLeft9[p], left9);
        EXPECT_EQ(tables.LabelTop9[p], top9);
        EXPECT_EQ(tables.KnobPoints9[p],
                  (PointXY{static_cast<std::int16_t>(x9), static_cast<std::int16_t>(y9)}));
        EXPECT_EQ(tables.LabelLeft8[p], left8);
        EXPECT_EQ(tables.LabelTop8[p], top8);
        if (p >= 2) {
            EXPECT_EQ(tables.KnobPoints8[p - 1],
                      (PointXY{static_cast<std::int16_t>(x8), static_cast<std::int16_t>(y8)}));
        }
    }

    MeterTables again = tables;
    FillTables(again);
    EXPECT_EQ(again, tables) << "a second call writes the same values";
}

TEST(SchoolDatabasePath, PrefersTheEnvironmentOverTheBuiltInDefault)
{
    qputenv("VOLTMETR_DB", "/tmp/jina.sqlite");
    EXPECT_EQ(schoolDatabasePath(), QStringLiteral("/tmp/jina.sqlite"));
    qputenv("VOLTMETR_DB", "");
    const QString builtIn = schoolDatabasePath();
    EXPECT_TRUE(QDir::isAbsolutePath(builtIn)) << builtIn.toStdString();
    qunsetenv("VOLTMETR_DB");
    EXPECT_EQ(schoolDatabasePath(), builtIn);
}

} // namespace
} // namespace voltmetr
