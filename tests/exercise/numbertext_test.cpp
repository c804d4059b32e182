#include "exercise/numbertext.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// The pupil's text as the answer reads it: commas become points, then the forgiving reader.
TEST(ReadNumber, ReadsTheForgivingWay)
{
    for (const auto& [text, value] :
         {std::pair{"1,5", 1.5}, std::pair{"12.5 V", 12.5}, std::pair{"1.5.3", 1.5},
          std::pair{"", 0.0}, std::pair{"abc", 0.0}, std::pair{"-3", -3.0}, std::pair{"1e2", 100.0},
          std::pair{"2.5D-1", 0.25}, std::pair{" 1 2 . 5 ", 12.5}, std::pair{"3e+V", 3.0},
          std::pair{"4\r2", 4.0}}) {
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

TEST(WorkedCalculation, ShowsTheReadingOnTheTasksRange)
{
    EXPECT_EQ(joined(workedCalculation(110.0f, 100, 200.0f)),
              "200|100| 55|(200 V / 100 dílků) *  55 dílků =|110 V");
    EXPECT_EQ(joined(workedCalculation(static_cast<float>(7 * (10.0 / 50)), 50, 2.0f)),
              "2|50| 35|(2 V / 50 dílků) *  35 dílků =|1.4 V");
    // 0.6 as a float lies a little above 0.6, so the reading falls just short of 100.
    EXPECT_EQ(joined(workedCalculation(0.5f, 120, 0.6f)),
              "0.6|120| 99.99999|(0.6 V / 120 dílků) *  99.99999 dílků =|0.5 V");
}

} // namespace
} // namespace voltmetr
