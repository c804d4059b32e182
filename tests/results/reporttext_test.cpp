#include "app/oledate.h"
#include "results/reporttext.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);

double at(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0)
{
    return toOleDate(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)));
}

ReportInputs run(std::int32_t right, std::int32_t wrong)
{
    return {QStringLiteral("Jan Dvořák"),
            QStringLiteral("2.B"),
            at(2026, 12, 5, 8, 5, 59, 999),
            at(2026, 12, 5, 8, 47, 30),
            right,
            wrong};
}

TEST(ReportText, AWholeReportUnderCzechSettings)
{
    EXPECT_EQ(composeReportText(run(1, 2), czech),
              QStringLiteral("Student: Jan Dvořák\r\n"
                             "Třída: 2.B\r\n"
                             "Prověřovák: 2 - Měření na voltmetru\r\n"
                             "Od: 05.12.2026 08:05\r\n"
                             "Do: 05.12.2026 08:47\r\n"
                             "Celkem odpovědí: 3\r\n"
                             "Z toho dobře: 1 (33,33%)\r\n"
                             "špatně: 2 (66,67%)\r\n"));
}

TEST(ReportText, TheCountLinesFollowTheAnswers)
{
    const struct
    {
        const char* name;
        std::int32_t right;
        std::int32_t wrong;
        QLocale locale;
        const char* lines; // from "Celkem" on
    } cases[] = {
        {"no answers: no percent lines", 0, 0, czech, "Celkem odpovědí: 0\r\n"},
        {"0 right of 3", 0, 3, czech,
         "Celkem odpovědí: 3\r\nZ toho dobře: 0 (0,00%)\r\nšpatně: 3 (100,00%)\r\n"},
        {"1 of 3 under C", 1, 2, QLocale::c(),
         "Celkem odpovědí: 3\r\nZ toho dobře: 1 (33.33%)\r\nšpatně: 2 (66.67%)\r\n"},
        {"halves away from zero", 1, 31, czech,
         "Celkem odpovědí: 32\r\nZ toho dobře: 1 (3,13%)\r\nšpatně: 31 (96,88%)\r\n"},
        // 23 ÷ 160 × 100 lands a hair below 14.375 in binary.
        {"a half the division misses", 23, 137, czech,
         "Celkem odpovědí: 160\r\nZ toho dobře: 23 (14,38%)\r\nšpatně: 137 (85,63%)\r\n"},
    };
    for (const auto& c : cases) {
        const QString text = composeReportText(run(c.right, c.wrong), c.locale);
        EXPECT_EQ(text.mid(text.indexOf(QStringLiteral("Celkem"))), QString::fromUtf8(c.lines))
            << c.name;
    }
}

TEST(ReportText, TimesDropTheSecondsAndUseTheLocalesSeparator)
{
    const struct
    {
        const char* name;
        double value;
        QLocale locale;
        const char* written;
    } cases[] = {
        {"midnight", at(2027, 1, 1, 0, 0), czech, "01.01.2027 00:00"},
        {"a second before midnight", at(2026, 12, 31, 23, 59, 59), czech, "31.12.2026 23:59"},
        {"a locale that writes a full stop", at(2026, 3, 9, 14, 7), QLocale(QLocale::Finnish),
         "09.03.2026 14.07"},
    };
    for (const auto& c : cases) {
        ReportInputs inputs = run(0, 0);
        inputs.startDateTime = inputs.endDateTime = c.value;
        const QString written = QString::fromUtf8(c.written);
        EXPECT_TRUE(composeReportText(inputs, c.locale)
                        .contains(QStringLiteral("\r\nOd: %1\r\nDo: %1\r\n").arg(written)))
            << c.name;
    }
}

} // namespace
} // namespace voltmetr
