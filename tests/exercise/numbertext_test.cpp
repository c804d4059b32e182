#include "app/procedury.h"
#include "exercise/metermodel.h"
#include "exercise/numbertext.h"

#include <QStringList>
#include <array>
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

TEST(IsRightAnswer, BoundsOfASinglePrecisionVoltage)
{
    for (const auto& [voltage, value, right] :
         // 0.6 as a float lies a little above 0.6, and so do both bounds.
         {std::tuple{0.6f, 0.594, false}, std::tuple{0.6f, 0.606, true}}) {
        EXPECT_EQ(isRightAnswer(value, voltage), right) << value << " for " << voltage;
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
    // The catalogue's full scales in millivolts per switch position; 0 where none.
    constexpr std::array<std::array<long long, 9>, 5> millivolts{{
        {500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000},
        {0, 600, 1200, 2400, 6000, 12000, 24000, 120000, 0},
        {0, 600, 1200, 2400, 6000, 12000, 24000, 120000, 0},
        {0, 600, 1200, 3000, 6000, 12000, 30000, 60000, 120000},
        {0, 500, 1000, 2000, 5000, 10000, 50000, 100000, 200000},
    }};
    MeterTables tables;
    FillTables(tables);
    int tasks = 0;
    for (int meterNo = 1; meterNo <= 5; ++meterNo) {
        const MeterType& meter = tables.Meters[meterNo];
        const long long n = meter.divisions;
        const auto& ranges = millivolts[static_cast<std::size_t>(meterNo - 1)];
        for (int position = lowestUsablePosition(meter); position <= highestUsablePosition(meter);
             ++position) {
            const int fewest = drawnDivisions(meter, position, 0.0f);
            const int most = drawnDivisions(meter, position, std::nextafter(1.0f, 0.0f));
            for (int k = fewest; k <= most; ++k, ++tasks) {
                SCOPED_TRACE(::testing::Message()
                             << "meter " << meterNo << ", position " << position << ", k " << k);
                const long long drawnRange = ranges[static_cast<std::size_t>(position - 1)];
                ASSERT_EQ(k * drawnRange % n, 0) << "a voltage of whole millivolts";
                const long long voltage = k * drawnRange / n;
                const float taskVoltage = voltageOfDivisions(meter, position, k);
                const int best = bestRangeFor(meter, position, taskVoltage);
                const long long bestRange = ranges[static_cast<std::size_t>(best - 1)];
                ASSERT_EQ(voltage * n * 100 % bestRange, 0) << "a reading of whole hundredths";
                const std::string reading = tidyDecimal(voltage * n * 100 / bestRange, 2);
                const std::string range = tidyDecimal(bestRange, 3);
                const std::string divisions = std::to_string(n);
                ASSERT_EQ(
                    joined(workedCalculation(taskVoltage, meter.divisions, meter.ranges[best])),
                    range + "|" + divisions + "| " + reading + "|(" + range + " V / " + divisions +
                        " dílků) *  " + reading + " dílků =|" + tidyDecimal(voltage, 3) + " V");
            }
        }
    }
    EXPECT_GT(tasks, 1000);
}

} // namespace
} // namespace voltmetr
