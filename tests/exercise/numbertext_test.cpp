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
          std::pair{"", 0.0}, std::pair{"abc", 0.0}, std::pair{"-3", -3.0}, std::pair{"1e2", 100.0},
          std::pair{"2.5D-1", 0.25}, std::pair{" 1 2 . 5 ", 12.5}, std::pair{"3e+V", 3.0},
          std::pair{"4\r2", 4.0}, std::pair{"+0,76", 0.76}, std::pair{",5", 0.5},
          std::pair{"-.5", -0.5}, std::pair{"+", 0.0}, std::pair{"1e400", 0.0},
          std::pair{"1e-400", 0.0}}) {
        EXPECT_DOUBLE_EQ(readNumber(CommaToPoint(QString::fromUtf8(text))), value) << text;
    }
}

// Seven significant digits behind a sign position; the tidy form drops that blank in the
// caller's text and returns it with a leading zero.
TEST(NumberText, StandardAndTidyForms)
{
    for (const auto& [value, standard, tidy] :
         {std::tuple{0.5f, " .5", "0.5"}, std::tuple{0.6f, " .6", "0.6"},
          std::tuple{55.0f, " 55", "55"}, std::tuple{2.0f / 3, " .6666667", "0.6666667"},
          std::tuple{1e7f, " 1E+07", "1E+07"}, std::tuple{0.0015f, " 1.5E-03", "1.5E-03"}}) {
        QString text = standardNumberText(value);
        EXPECT_EQ(text.toStdString(), standard);
        EXPECT_EQ(TidyNumberText(text).toStdString(), tidy);
        EXPECT_EQ(text.toStdString(), std::string(standard).substr(1)) << "the caller's text";
    }
}

// Right within 1 % of the task's voltage, a value on a bound included. 0.99 x 110 and
// 1.01 x 110 come out as the doubles of 108.9 and 111.1. The 32-bit voltages lie beside their
// decimals: 0.6 a little above, so its bounds are 0.594000024 and 0.606000024, and 1.4 a
// little below, so 1.414 is already too much: its bounds are 1.385999976 and 1.413999976.
TEST(IsRightAnswer, TheEdgesOfOnePercent)
{
    // voltage; the last right and the first wrong value below, the same above
    for (const auto& [voltage, lowRight, lowWrong, highRight, highWrong] :
         {std::tuple{110.0f, 108.9, std::nextafter(108.9, 0.0), 111.1,
                     std::nextafter(111.1, 112.0)},
          std::tuple{0.6f, 0.59400003, 0.59400002, 0.60600002, 0.60600003},
          std::tuple{1.4f, 1.386, 1.38599997, 1.41399997, 1.414}}) {
        SCOPED_TRACE(voltage);
        EXPECT_TRUE(isRightAnswer(lowRight, voltage));
        EXPECT_FALSE(isRightAnswer(lowWrong, voltage));
        EXPECT_TRUE(isRightAnswer(highRight, voltage));
        EXPECT_FALSE(isRightAnswer(highWrong, voltage));
    }
}

std::string joined(const WorkedCalculation& c)
{
    return QStringList{c.Roz, c.Dilk, c.Ukaz, c.Souh, c.Vys}.join(QLatin1Char('|')).toStdString();
}

// units / 10^decimals as the tidy number text: 760, 3 gives "0.76"; 2750, 2 gives "27.5".
std::string tidyDecimal(long long units, int decimals)
{
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10;
    }
    std::string fraction = std::to_string(scale + units % scale).substr(1);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return std::to_string(units / scale) + (fraction.empty() ? "" : "." + fraction);
}

// Every task the generator can draw, worked independently in whole millivolts: no text carries
// the noise of the 32-bit voltage and range.
TEST(WorkedCalculation, EveryDrawableTaskShowsCleanDecimals)
{
    MeterTables tables;
    FillTables(tables);
    const std::vector<testing::DrawableTask> tasks = testing::drawableTasks();
    for (const testing::DrawableTask& task : tasks) {
        SCOPED_TRACE(::testing::Message() << "meter " << task.meterNo << ", position "
                                          << task.position << ", k " << task.k);
        const testing::CatalogueMeter& m = testing::catalogueMeter(task.meterNo);
        const long long n = m.divisions;
        ASSERT_EQ(task.voltageMillivolts * n, task.k * m.rangeMillivolts(task.position))
            << "a voltage of whole millivolts";
        const long long bestRange = m.rangeMillivolts(task.best);
        ASSERT_EQ(task.voltageMillivolts * n * 100 % bestRange, 0) << "whole hundredths";
        const std::string reading = tidyDecimal(task.voltageMillivolts * n * 100 / bestRange, 2);
        const std::string range = tidyDecimal(bestRange, 3);
        const std::string divisions = std::to_string(n);
        const MeterType& meter = tables.Meters[task.meterNo];
        ASSERT_EQ(joined(workedCalculation(voltageOfDivisions(meter, task.position, task.k),
                                           meter.divisions, meter.ranges[task.best])),
                  range + "|" + divisions + "| " + reading + "|(" + range + " V / " + divisions +
                      " dílků) *  " + reading + " dílků =|" +
                      tidyDecimal(task.voltageMillivolts, 3) + " V");
    }
    EXPECT_GT(tasks.size(), 1000u);
}

} // namespace
} // namespace voltmetr
