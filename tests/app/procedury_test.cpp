#include "app/procedury.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    for (float deg : {180.0f, 55.0f, 125.0f, 51.0f, 129.0f, 0.0f}) {
        const auto expected = static_cast<float>(deg * 3.14159265358979 / 180.0);
        EXPECT_EQ(DegToRad(deg), expected) << deg;
    }
    EXPECT_EQ(DegToRad(180.0f), static_cast<float>(3.14159265358979));
}

TEST(Unscramble, ShiftsEveryCharacterDownByOne)
{
    EXPECT_EQ(Unscramble(QStringLiteral("bcd")), QStringLiteral("abc"));
    EXPECT_EQ(Unscramble(QString()), QString());
    EXPECT_EQ(Unscramble(QStringLiteral("0tsw0tlpmb")), QStringLiteral("/srv/skola"));
    // Windows-1250: "š" is 0x9A, its predecessor 0x99 is the trade mark sign.
    EXPECT_EQ(Unscramble(QStringLiteral("š")), QStringLiteral("™"));
}

TEST(FillTables, WritesTheCatalogueAndTheDialTablesTheSameEveryTime)
{
    MeterTables once;
    FillTables(once);
    MeterTables twice = once;
    FillTables(twice);
    EXPECT_EQ(once, twice);

    // The catalogue's rules that the exercise relies on: 9 ranges start at position 1, the
    // others at 2, the usable positions are contiguous and ascend, and rangeCount counts them.
    for (int m = 1; m <= 5; ++m) {
        const MeterType& meter = once.Meters[m];
        const int lowest = meter.rangeCount == 9 ? 1 : 2;
        int usable = 0;
        float previous = 0;
        for (int p = 1; p <= 9; ++p) {
            const bool inside = p >= lowest && p < lowest + meter.rangeCount;
            if (inside) {
                EXPECT_GT(meter.ranges[p], previous) << "meter " << m << " position " << p;
                previous = meter.ranges[p];
                ++usable;
            } else {
                EXPECT_EQ(meter.ranges[p], -1.0f) << "meter " << m << " position " << p;
            }
        }
        EXPECT_EQ(usable, meter.rangeCount) << "meter " << m;
        EXPECT_EQ(static_cast<int>(std::lround(double(meter.divisions) / meter.majorCount)), 10);
    }
    EXPECT_EQ(once.Meters[4].ranges[9], 120.0f);
    EXPECT_EQ(once.Meters[2].ranges[2], 0.6f);
    EXPECT_EQ(once.LabelTop9[8], 5660);
    EXPECT_EQ(once.LabelLeft8[1], 0);
    EXPECT_EQ(once.LabelTop8[1], 0);
    EXPECT_EQ(once.KnobPoints9[1], (PointXY{4740, 6030}));
    EXPECT_EQ(once.KnobPoints8[1], (PointXY{4760, 5900}));
    EXPECT_EQ(once.KnobPoints8[8], (PointXY{5820, 5900}));
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
