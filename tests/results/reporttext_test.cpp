#include "app/oledate.h"
#include "results/reporttext.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
const QLocale plainC = QLocale::c();

double at(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0)
{
    return toOleDate(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)));
}

ReportInputs sample(std::int32_t right, std::int32_t wrong)
{
    return ReportInputs{QStringLiteral("Jan Dvořák"),
                        QStringLiteral("2.B"),
                        at(2026, 12, 5, 8, 5, 59, 999),
                        at(2026, 12, 5, 8, 47, 30),
                        right,
                        wrong};
}

QStringList linesOf(const QString& text)
{
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

TEST(ReportText, AWholeReportUnderCzechSettings)
{
    const QString expected = QStringLiteral("Student: Jan Dvořák\r\n"
                                            "Třída: 2.B\r\n"
                                            "Prověřovák: 2 - Měření na voltmetru\r\n"
                                            "Od: 05.12.2026 08:05\r\n"
                                            "Do: 05.12.2026 08:47\r\n"
                                            "Celkem odpovědí: 3\r\n"
                                            "Z toho dobře: 1 (33,33%)\r\n"
                                            "špatně: 2 (66,67%)\r\n");
    EXPECT_EQ(composeReportText(sample(1, 2), czech), expected);
}

TEST(ReportText, PercentLinesFollowTheCounts)
{
    const struct
    {
        const char* name;
        std::int32_t right;
        std::int32_t wrong;
        const QLocale& locale;
        const char* rightLine; // nullptr: the report stops after the total
        const char* wrongLine;
    } cases[] = {
        {"no answers", 0, 0, czech, nullptr, nullptr},
        {"only wrong answers", 0, 3, czech, "Z toho dobře: 0 (0,00%)", "špatně: 3 (100,00%)"},
        {"one of three, Czech", 1, 3 - 1, czech, "Z toho dobře: 1 (33,33%)", "špatně: 2 (66,67%)"},
        {"one of three, C", 1, 2, plainC, "Z toho dobře: 1 (33.33%)", "špatně: 2 (66.67%)"},
        {"only right answers", 20, 0, czech, "Z toho dobře: 20 (100,00%)", "špatně: 0 (0,00%)"},
        {"an exact half rounds up", 1, 31, czech, "Z toho dobře: 1 (3,13%)", "špatně: 31 (96,88%)"},
        {"a half that the division misses by a hair", 23, 137, czech, "Z toho dobře: 23 (14,38%)",
         "špatně: 137 (85,63%)"},
        {"two thirds", 2, 1, czech, "Z toho dobře: 2 (66,67%)", "špatně: 1 (33,33%)"},
    };
    for (const auto& c : cases) {
        const QStringList lines = linesOf(composeReportText(sample(c.right, c.wrong), c.locale));
        EXPECT_EQ(lines[5],
                  QStringLiteral("Celkem odpovědí: ") + QString::number(c.right + c.wrong))
            << c.name;
        if (c.rightLine == nullptr) {
            EXPECT_EQ(lines.size(), 6) << c.name;
            continue;
        }
        ASSERT_EQ(lines.size(), 8) << c.name;
        EXPECT_EQ(lines[6], QString::fromUtf8(c.rightLine)) << c.name;
        EXPECT_EQ(lines[7], QString::fromUtf8(c.wrongLine)) << c.name;
    }
}

TEST(ReportText, DatesCutSecondsOffAndUseTheLocalesTimeSeparator)
{
    const struct
    {
        const char* name;
        double value;
        QLocale locale;
        const char* written;
    } cases[] = {
        {"a second before the next minute", at(2026, 12, 5, 8, 5, 59, 999), czech,
         "05.12.2026 08:05"},
        {"midnight", at(2027, 1, 1, 0, 0), czech, "01.01.2027 00:00"},
        {"a minute before midnight", at(2026, 12, 31, 23, 59, 59), czech, "31.12.2026 23:59"},
        {"afternoon on the 24-hour clock", at(2026, 3, 9, 14, 7), plainC, "09.03.2026 14:07"},
        {"a locale that writes a full stop", at(2026, 3, 9, 14, 7), QLocale(QLocale::Finnish),
         "09.03.2026 14.07"},
    };
    for (const auto& c : cases) {
        ReportInputs inputs = sample(0, 0);
        inputs.startDateTime = c.value;
        inputs.endDateTime = c.value;
        const QStringList lines = linesOf(composeReportText(inputs, c.locale));
        EXPECT_EQ(lines[3], QStringLiteral("Od: ") + QString::fromUtf8(c.written)) << c.name;
        EXPECT_EQ(lines[4], QStringLiteral("Do: ") + QString::fromUtf8(c.written)) << c.name;
    }
}

TEST(ReportText, NameAndClassAreWrittenAsTyped)
{
    ReportInputs inputs = sample(0, 0);
    inputs.pupilName = QString();
    inputs.pupilClass = QStringLiteral(" 3.A ");
    const QStringList lines = linesOf(composeReportText(inputs, czech));
    EXPECT_EQ(lines[0], QStringLiteral("Student: "));
    EXPECT_EQ(lines[1], QStringLiteral("Třída:  3.A "));
}

} // namespace
} // namespace voltmetr
