#include "app/oledate.h"
#include "results/reporttext.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(ReportText, CountsPercentsAndTimesFollowTheLocale)
{
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    // The lines from "Do" on.
    const std::tuple<const char*, std::int32_t, std::int32_t, QLocale, const char*> cases[] = {
        {"no answers: no percent lines", 0, 0, czech,
         "Do: 05.12.2026 14:07\r\nCelkem odpovědí: 0\r\n"},
        {"0 right of 3", 0, 3, czech,
         "Do: 05.12.2026 14:07\r\nCelkem odpovědí: 3\r\nZ toho dobře: 0 (0,00%)\r\nšpatně: 3 "
         "(100,00%)\r\n"},
        {"1 of 3", 1, 2, czech,
         "Do: 05.12.2026 14:07\r\nCelkem odpovědí: 3\r\nZ toho dobře: 1 (33,33%)\r\nšpatně: 2 "
         "(66,67%)\r\n"},
        {"halves away from zero; hours and minutes parted by a full stop", 1, 31, QLocale::Finnish,
         "Do: 05.12.2026 14.07\r\nCelkem odpovědí: 32\r\nZ toho dobře: 1 (3,13%)\r\nšpatně: 31 "
         "(96,88%)\r\n"},
        // 23 ÷ 160 × 100 lands a hair below 14.375 in binary.
        {"23 of 160", 23, 137, czech,
         "Do: 05.12.2026 14:07\r\nCelkem odpovědí: 160\r\nZ toho dobře: 23 (14,38%)\r\nšpatně: 137 "
         "(85,63%)\r\n"},
    };
    const double end = toOleDate(QDateTime(QDate(2026, 12, 5), QTime(14, 7, 59, 999)));
    for (const auto& [name, right, wrong, locale, lines] : cases) {
        const QString text = composeReportText({{}, {}, end, end, right, wrong}, locale);
        EXPECT_EQ(text.mid(text.indexOf(QStringLiteral("Do: "))), QString::fromUtf8(lines)) << name;
    }
}

} // namespace
} // namespace voltmetr
