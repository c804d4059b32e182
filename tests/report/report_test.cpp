#include "app/oledate.h"
#include "report/info2.h"
#include "report/reportdecoder.h"
#include "report/reportfields.h"
#include "report/reportsamples.h"
#include "report/reporttext.h"

#include <QRegularExpression>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

TEST(ReportText, CountsAndPercentsFollowTheLocale)
{
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    // The lines from "Celkem" on.
    const std::tuple<std::int32_t, std::int32_t, QLocale, const char*> cases[] = {
        {0, 0, czech, "Celkem odpovědí: 0\r\n"}, // no answers: no percent lines
        {0, 3, czech, "Celkem odpovědí: 3\r\nZ toho dobře: 0 (0,00%)\r\nšpatně: 3 (100,00%)\r\n"},
        // halves away from zero, the C locale's decimal point
        {1, 31, QLocale::c(),
         "Celkem odpovědí: 32\r\nZ toho dobře: 1 (3.13%)\r\nšpatně: 31 (96.88%)\r\n"},
        // 23 ÷ 160 × 100 lands a hair below 14.375 in binary.
        {23, 137, czech,
         "Celkem odpovědí: 160\r\nZ toho dobře: 23 (14,38%)\r\nšpatně: 137 (85,63%)\r\n"},
    };
    for (const auto& [right, wrong, locale, lines] : cases) {
        const QString text = composeReportText({{}, {}, 0, 0, right, wrong}, locale);
        EXPECT_EQ(text.mid(text.indexOf(u"Celkem"_s)), QString::fromUtf8(lines)) << lines;
    }
}

TEST(Coder, OneTokenACharacterTenALine)
{
    const QString line1 = u"4b xx xx xx xx xx xx xx xx xx \r\n"_s;
    // The text (CR LF follows), the report with each token after "4b" as "xx", the decoded.
    const std::tuple<const char*, QString, const char*> cases[] = {
        {"123456", line1, "123456"}, // 8 characters fill the first line
        {"1234567", line1 + u"xx "_s, "1234567"},
        {"řšíůľőß€", line1 + u"xx xx "_s, "řšíůľőß€"},         // one token each
        {"øЖλ日😀", u"4b xx xx xx xx xx xx xx xx "_s, "?????"}, // not in the code page
    };
    const QRegularExpression token(u"[0-9a-f]{2}"_s);
    for (const auto& [text, shape, decoded] : cases) {
        const QString report = testing::encodedReport(QString::fromUtf8(text) + u"\r\n"_s);
        EXPECT_EQ(report.left(3) + report.mid(3).replace(token, u"xx"_s), shape) << text;
        EXPECT_EQ(decodeReport(report).text, QString::fromUtf8(decoded) + u"\r\n"_s) << text;
    }
}

// The time separator is the text between the locale's hours and minutes, its quotes undone; the
// teacher's side reads the dates back.
TEST(ReportText, DatesReadBackUnderEveryTimeSeparator)
{
    const std::pair<QLocale, const char*> cases[] = {
        {QLocale::c(), ":"},                                  // HH:mm:ss
        {QLocale(QLocale::French, QLocale::Canada), " h "},   // HH 'h' mm
        {QLocale(QLocale::LowGerman, QLocale::Germany), "."}, // a quoted word before hours
    };
    const QDate day(2026, 12, 5);
    const double start = toOleDate(QDateTime(day, QTime(8, 3, 59)));
    const double end = toOleDate(QDateTime(day, QTime(14, 7, 59, 999)));
    for (const auto& [locale, separator] : cases) {
        const QString text = composeReportText({u"Eva"_s, u"2.B"_s, start, end, 1, 2}, locale);
        const ParsedReport parsed =
            parseReportText(decodeReport(testing::encodedReport(text)).text);
        const QString w = QString::fromUtf8(separator);
        EXPECT_EQ(text.split(u"\r\n"_s).mid(3, 2).join(u'|') + u'|' + parsed.error + u'|' +
                      parsed.fields.from,
                  u"Od: 05.12.2026 08"_s + w + u"03|Do: 05.12.2026 14"_s + w +
                      u"07||05.12.2026 08"_s + w + u"03"_s)
            << locale.name().toStdString();
    }
}

} // namespace
} // namespace voltmetr
