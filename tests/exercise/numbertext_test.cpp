#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "exercise/numbertext.h"
#include "support/metercatalogue.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// The pupil's text as the answer reads it: commas become points, then the forgiving reader.
// The point is read as the separator whatever the process's regional settings: under Czech
// ones the C library would stop at it and read "1.5" as 1.
TEST(ReadNumber, ReadsTheForgivingWay)
{
    for (const auto& [text, value] :
         {std::pair{"1,5", 1.5}, std::pair{"12.5 V", 12.5}, std::pair{"1.5.3", 1.5},
          std::pair{"abc", 0.0}, std::pair{"-3", -3.0}, std::pair{"1e2", 100.0},
          std::pair{"2.5D-1", 0.25}, std::pair{" 1 2 . 5 ", 12.5}, std::pair{"3e+V", 3.0},
          std::pair{"4\r2", 4.0}, std::pair{"+0,76", 0.76}, std::pair{"-.5", -0.5},
          std::pair{"+", 0.0}, std::pair{"1e400", 0.0}}) {
        EXPECT_DOUBLE_EQ(readNumber(CommaToPoint(QString::fromUtf8(text))), value) << text;
    }
}

// Right within 1 % of the task's voltage, a value on a bound included. 0.99 x 110 and
// 1.01 x 110 come out as the doubles of 108.9 and 111.1. The 32-bit voltage 1.4 lies a little
// below its decimal, so 1.414 is already too much: its bounds are 1.385999976 and 1.413999976.
TEST(IsRightAnswer, TheEdgesOfOnePercent)
{
    for (const auto& [value, voltage, right] :
         {std::tuple{108.9, 110.0f, true}, std::tuple{std::nextafter(108.9, 0.0), 110.0f, false},
          std::tuple{111.1, 110.0f, true}, std::tuple{std::nextafter(111.1, 112.0), 110.0f, false},
          std::tuple{1.386, 1.4f, true}, std::tuple{1.38599997, 1.4f, false},
          std::tuple{1.41399997, 1.4f, true}, std::tuple{1.414, 1.4f, false}}) {
        EXPECT_EQ(isRightAnswer(value, voltage), right) << value << " for " << voltage;
    }
}

// Every task the generator can draw, worked independently in whole millivolts: no text carries
// the noise of the 32-bit voltage and range (0.5 V on 0.6 V of 120 divisions is 100 divisions,
// not 99.99999).
TEST(WorkedCalculation, EveryDrawableTaskShowsCleanDecimals)
{
    MeterTables tables;
    FillTables(tables);
    // units / per as the shortest decimal text: 760, 1000 gives "0.76"
    const auto text = [](long long units, double per) {
        return QString::number(static_cast<double>(units) / per, 'g', 7).toStdString();
    };
    for (const testing::DrawableTask& task : testing::drawableTasks()) {
        const MeterType& meter = tables.Meters[task.meterNo];
        const testing::CatalogueMeter& printed = testing::meterCatalogue[task.meterNo - 1];
        const long long best = printed.millivolts[task.best - 1];
        const std::string range = text(best, 1000);
        const std::string n = text(printed.divisions, 1);
        // the needle's reading on the best range in hundredths of a division, whole on every task
        const std::string reading =
            text(task.voltageMillivolts * printed.divisions * 100 / best, 100);
        const WorkedCalculation c =
            workedCalculation(voltageOfDivisions(meter, task.position, task.k), meter.divisions,
                              meter.ranges[task.best]);
        ASSERT_EQ(QStringList({c.Roz, c.Dilk, c.Ukaz, c.Souh, c.Vys}).join(u'|').toStdString(),
                  range + "|" + n + "| " + reading + "|(" + range + " V / " + n + " dílků) *  " +
                      reading + " dílků =|" + text(task.voltageMillivolts, 1000) + " V")
            << "meter " << task.meterNo << ", position " << task.position << ", k " << task.k;
    }
}

} // namespace
} // namespace voltmetr
