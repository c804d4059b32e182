#include "app/oledate.h"
#include "results/runsummary.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(CountNoun, TheWholeNumberChoosesTheForm)
{
    const struct
    {
        std::int64_t n;
        const char* noun;
    } cases[] = {
        {1, " příklad"},   {2, " příklady"},  {3, " příklady"},  {4, " příklady"},
        {0, " příkladů"},  {5, " příkladů"},  {11, " příkladů"}, {21, " příkladů"},
        {22, " příkladů"}, {-1, " příkladů"}, {-3, " příkladů"}, {100002, " příkladů"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountNoun(c.n), QString::fromUtf8(c.noun)) << c.n;
    }
}

TEST(CountCaption, ABlankOrTheMinusSignLeadsTheDigits)
{
    const struct
    {
        std::int64_t n;
        const char* caption;
    } cases[] = {
        {0, " 0 příkladů"},   {1, " 1 příklad"},   {3, " 3 příklady"},
        {20, " 20 příkladů"}, {-2, "-2 příkladů"}, {3000000000LL, " 3000000000 příkladů"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCaption(c.n), QString::fromUtf8(c.caption)) << c.n;
    }
}

Data_a_promene schoolRun(double startTime)
{
    Data_a_promene state;
    state.ProfileSurname = QStringLiteral("Novák");
    state.ProfileClass = QStringLiteral("3.B");
    state.StartTime = startTime;
    state.RightCount = 7;
    state.WrongCount = 2;
    return state;
}

double timeOfDay(int hour, int minute)
{
    return (hour * 60 + minute) / 1440.0;
}

TEST(ResultRowFor, EndTimeAndDateComeFromOneReadingOfTheClock)
{
    const double monday = toOleDate(QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    const struct
    {
        const char* name;
        double start;
        double now;
        double endTime;
        double date;
    } cases[] = {
        {"a morning run", timeOfDay(8, 0), monday + timeOfDay(8, 45), timeOfDay(8, 45), monday},
        {"over midnight", timeOfDay(23, 50), monday + 1 + timeOfDay(0, 20), timeOfDay(0, 20),
         monday + 1},
    };
    for (const auto& c : cases) {
        const ResultRow row = resultRowFor(schoolRun(c.start), c.now, QStringLiteral("novak"));
        EXPECT_EQ(row.surname, QStringLiteral("Novák")) << c.name;
        EXPECT_EQ(row.className, QStringLiteral("3.B")) << c.name;
        EXPECT_EQ(row.rightCount, 7) << c.name;
        EXPECT_EQ(row.wrongCount, 2) << c.name;
        EXPECT_DOUBLE_EQ(row.startTime, c.start) << c.name;
        EXPECT_NEAR(row.endTime, c.endTime, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(row.date, c.date) << c.name;
        EXPECT_EQ(row.loginName, QStringLiteral("novak")) << c.name;
        EXPECT_EQ(row.examType, 2) << c.name;
    }
}

TEST(FallbackReportInputs, TheProfileAndTodaysStartStandInForAnEmailSignIn)
{
    const double monday = toOleDate(QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    const struct
    {
        const char* name;
        double start;
        double now;
        double expectedStart;
    } cases[] = {
        {"same day", timeOfDay(8, 0), monday + timeOfDay(8, 45), monday + timeOfDay(8, 0)},
        {"over midnight starts yesterday", timeOfDay(23, 50), monday + timeOfDay(0, 20),
         monday - 1 + timeOfDay(23, 50)},
    };
    for (const auto& c : cases) {
        const ReportInputs inputs = fallbackReportInputs(schoolRun(c.start), c.now);
        EXPECT_EQ(inputs.pupilName, QStringLiteral("Novák")) << c.name;
        EXPECT_EQ(inputs.pupilClass, QStringLiteral("3.B")) << c.name;
        EXPECT_NEAR(inputs.startDateTime, c.expectedStart, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(inputs.endDateTime, c.now) << c.name;
        EXPECT_EQ(inputs.rightCount, 7) << c.name;
        EXPECT_EQ(inputs.wrongCount, 2) << c.name;
    }
}

} // namespace
} // namespace voltmetr
