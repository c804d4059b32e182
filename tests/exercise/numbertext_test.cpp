#include "exercise/numbertext.h"
#include "printers.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(ReadNumber, ReadsTheForgivingWay)
{
    struct Case
    {
        const char* name;
        QString text;
        double value;
    };
    const Case cases[] = {
        {"unit after the number", QStringLiteral("12.5 V"), 12.5},
        {"second point stops", QStringLiteral("1.5.3"), 1.5},
        {"empty box", QString(), 0},
        {"no digits", QStringLiteral("abc"), 0},
        {"zero", QStringLiteral("0"), 0},
        {"negative", QStringLiteral("-3"), -3},
        {"exponent E", QStringLiteral("1e2"), 100},
        {"exponent D", QStringLiteral("1D2"), 100},
        {"negative exponent", QStringLiteral("2.5E-1"), 0.25},
        {"blanks anywhere", QStringLiteral(" 1 2 . 5 "), 12.5},
        {"tabs and line feeds", QStringLiteral("\t7\n5"), 75},
        {"point first", QStringLiteral(".5"), 0.5},
        {"exponent without digits", QStringLiteral("2e"), 2},
        {"exponent sign without digits", QStringLiteral("3e+V"), 3},
        {"letter first", QStringLiteral("V12"), 0},
        {"comma is not a point", QStringLiteral("1,5"), 1},
        {"carriage return stops", QStringLiteral("4\r2"), 4},
        {"exponent is whole", QStringLiteral("1e2.5"), 100},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(readNumber(c.text), c.value) << c.name;
    }
}

TEST(CommaToPoint, MakesEveryCommaAPoint)
{
    EXPECT_EQ(CommaToPoint(QStringLiteral("1,5")), QStringLiteral("1.5"));
    EXPECT_EQ(CommaToPoint(QStringLiteral(",1,2,")), QStringLiteral(".1.2."));
    EXPECT_EQ(CommaToPoint(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(readNumber(CommaToPoint(QStringLiteral("1,5"))), 1.5);
}

TEST(StandardNumberText, WritesSevenDigitsWithASignPosition)
{
    struct Case
    {
        const char* name;
        float value;
        QString text;
    };
    const Case cases[] = {
        {"one half", 0.5f, QStringLiteral(" .5")},
        {"0.6 as a float", 0.6f, QStringLiteral(" .6")},
        {"whole number", 55.0f, QStringLiteral(" 55")},
        {"zero", 0.0f, QStringLiteral(" 0")},
        {"1.4 just under", 1.4f, QStringLiteral(" 1.4")},
        {"negative", -2.5f, QStringLiteral("-2.5")},
        {"negative below one", -0.25f, QStringLiteral("-.25")},
        {"a third rounds to 7 digits", 1.0f / 3, QStringLiteral(" .3333333")},
        {"two thirds round up", 2.0f / 3, QStringLiteral(" .6666667")},
        {"a hundredth", 0.01f, QStringLiteral(" .01")},
        {"just below ten million", 9999999.0f, QStringLiteral(" 9999999")},
        {"ten million", 1e7f, QStringLiteral(" 1E+07")},
        {"rounded mantissa", 12345678.0f, QStringLiteral(" 1.234568E+07")},
        {"a thousandth", 0.001f, QStringLiteral(" 1E-03")},
        {"small with digits", 0.0015f, QStringLiteral(" 1.5E-03")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(standardNumberText(c.value), c.text) << c.name;
    }
}

TEST(TidyNumberText, DropsTheSignBlankAndAddsALeadingZero)
{
    struct Case
    {
        const char* name;
        QString text;
        QString result;
        QString textAfter; // the caller's text is changed as well
    };
    const Case cases[] = {
        {"one half", QStringLiteral(" .5"), QStringLiteral("0.5"), QStringLiteral(".5")},
        {"twelve", QStringLiteral(" 12"), QStringLiteral("12"), QStringLiteral("12")},
        {"no blank", QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("12")},
        {"only one blank dropped", QStringLiteral("  .5"), QStringLiteral(" .5"),
         QStringLiteral(" .5")},
        {"negative", QStringLiteral("-.5"), QStringLiteral("-.5"), QStringLiteral("-.5")},
    };
    for (const Case& c : cases) {
        QString text = c.text;
        EXPECT_EQ(TidyNumberText(text), c.result) << c.name;
        EXPECT_EQ(text, c.textAfter) << c.name;
    }
}

TEST(IsRightAnswer, AcceptsOnePercentBothWaysBoundsIncluded)
{
    struct Case
    {
        const char* name;
        float voltage;
        double value;
        bool right;
    };
    const Case cases[] = {
        {"exact", 100.0f, 100, true},
        {"lower bound", 100.0f, 99, true},
        {"upper bound", 100.0f, 101, true},
        {"below", 100.0f, 98.9, false},
        {"above", 100.0f, 101.1, false},
        // 0.6 as a float lies a little above 0.6, and so do both bounds.
        {"decimal lower bound of a float voltage", 0.6f, 0.594, false},
        {"decimal upper bound of a float voltage", 0.6f, 0.606, true},
        {"zero", 1.4f, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isRightAnswer(c.value, c.voltage), c.right) << c.name;
    }
}

TEST(WorkedCalculation, ShowsTheReadingOnTheTasksRange)
{
    struct Case
    {
        const char* name;
        float voltage;
        int divisions;
        float range;
        WorkedCalculation expected;
    };
    const Case cases[] = {
        {"110 V on the 200 V range",
         110.0f,
         100,
         200.0f,
         {QStringLiteral("200"), QStringLiteral("100"), QStringLiteral(" 55"),
          QStringLiteral("(200 V / 100 dílků) *  55 dílků ="), QStringLiteral("110 V")}},
        {"1.4 V on the 2 V range",
         static_cast<float>(7 * (10.0 / 50)),
         50,
         2.0f,
         {QStringLiteral("2"), QStringLiteral("50"), QStringLiteral(" 35"),
          QStringLiteral("(2 V / 50 dílků) *  35 dílků ="), QStringLiteral("1.4 V")}},
        // 0.6 as a float lies a little above 0.6, so the reading falls just short of 100.
        {"a result below one volt",
         0.5f,
         120,
         0.6f,
         {QStringLiteral("0.6"), QStringLiteral("120"), QStringLiteral(" 99.99999"),
          QStringLiteral("(0.6 V / 120 dílků) *  99.99999 dílků ="), QStringLiteral("0.5 V")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(workedCalculation(c.voltage, c.divisions, c.range), c.expected) << c.name;
    }
}

} // namespace
} // namespace voltmetr
