#include "app/oledate.h"
#include "report/info2.h"
#include "report/reportdecoder.h"
#include "report/reportfields.h"
#include "report/reporttext.h"
#include "support/scriptedhost.h"

#include <QRegularExpression>

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

// A report of text whose random byte comes from draw: 0.5 gives 0x80.
QString encode(const QString& text, float draw = 0.5f)
{
    testing::ScriptedCoreHost host;
    host.queueRandom({draw});
    Info2 coder(host);
    coder.InitReportCoder();
    coder.AppendEncoded(text);
    return coder.GetReportText();
}

TEST(Coder, OneTokenACharacterTenALine)
{
    const QString line1 = QStringLiteral("4b 80 xx xx xx xx xx xx xx xx \r\n");
    // A report line (CR LF follows), the report with each token after "4b 80" written as "xx",
    // and the line decoded.
    const std::tuple<const char*, const char*, QString, const char*> cases[] = {
        {"8 characters fill the first line", "123456", line1, "123456"},
        {"9 put one token on line 2", "1234567", line1 + QStringLiteral("xx "), "1234567"},
        {"ř, š, í, ů one token each", "řšíů", QStringLiteral("4b 80 xx xx xx xx xx xx "), "řšíů"},
        {"日, 😀: not in the code page", "日😀", QStringLiteral("4b 80 xx xx xx xx "), "??"},
    };
    const QRegularExpression token(QStringLiteral("[0-9a-f]{2}"));
    for (const auto& [name, text, shape, decoded] : cases) {
        const QString report = encode(QString::fromUtf8(text) + QStringLiteral("\r\n"));
        EXPECT_EQ(report.left(6) + report.mid(6).replace(token, QStringLiteral("xx")), shape)
            << name;
        EXPECT_EQ(decodeReport(report).text, QString::fromUtf8(decoded) + QStringLiteral("\r\n"))
            << name;
    }
}

// The time separator is the literal text between hours and minutes of the locale's format,
// without the format's quote marks, and the teacher's side reads the dates back from the
// encoded report. Characters the report's code page lacks arrive as "?".
TEST(ReportText, DatesReadBackUnderEveryTimeSeparator)
{
    // The "Od" line as written, and the start date as read back from the encoded report.
    const std::tuple<const char*, QLocale, const char*, const char*> cases[] = {
        {"C: HH:mm:ss", QLocale::c(), "Od: 05.12.2026 08:03", "05.12.2026 08:03"},
        {"Czech: HH:mm", QLocale(QLocale::Czech, QLocale::CzechRepublic), "Od: 05.12.2026 08:03",
         "05.12.2026 08:03"},
        {"Canadian French: HH 'h' mm", QLocale(QLocale::French, QLocale::Canada),
         "Od: 05.12.2026 08 h 03", "05.12.2026 08 h 03"},
        {"Finnish: H.mm", QLocale(QLocale::Finnish, QLocale::Finland), "Od: 05.12.2026 08.03",
         "05.12.2026 08.03"},
        {"Low German: a quoted word before the hours",
         QLocale(QLocale::LowGerman, QLocale::Germany), "Od: 05.12.2026 08.03", "05.12.2026 08.03"},
        {"Dzongkha: a word of its own script", QLocale(QLocale::Dzongkha, QLocale::Bhutan),
         "Od: 05.12.2026 08 སྐར་མ་ 03", "05.12.2026 08 ?????? 03"},
    };
    const QDate day(2026, 12, 5);
    const double start = toOleDate(QDateTime(day, QTime(8, 3, 59)));
    const double end = toOleDate(QDateTime(day, QTime(8, 45)));
    for (const auto& [name, locale, written, readBack] : cases) {
        const QString text = composeReportText(
            {QStringLiteral("Eva"), QStringLiteral("2.B"), start, end, 1, 2}, locale);
        EXPECT_EQ(text.split(QStringLiteral("\r\n")).at(3).toStdString(), written) << name;
        const ParsedReport parsed = parseReportText(decodeReport(encode(text)).text);
        EXPECT_EQ(parsed.error.toStdString(), "") << name;
        EXPECT_EQ(parsed.fields.from.toStdString(), readBack) << name;
    }
}

} // namespace
} // namespace voltmetr
