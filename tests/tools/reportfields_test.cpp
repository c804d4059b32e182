#include "reportsamples.h"
#include "results/reportfields.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(ParseReportText, ReadsTheValuesOfWholeReports)
{
    struct Case
    {
        const char* name;
        QString text;
        ReportFields expected;
    };
    const Case cases[] = {
        {"no answers, six lines",
         testing::sampleReportText(QStringLiteral("Jan Novák"), QStringLiteral("2.B"), 0, 0),
         {QStringLiteral("Jan Novák"), QStringLiteral("2.B"), QStringLiteral("05.12.2026 08:00"),
          QStringLiteral("05.12.2026 08:45"), 0, 0, 0}},
        {"answers, eight lines",
         testing::sampleReportText(QStringLiteral("Šárka"), QStringLiteral("1.A"), 17, 3),
         {QStringLiteral("Šárka"), QStringLiteral("1.A"), QStringLiteral("05.12.2026 08:00"),
          QStringLiteral("05.12.2026 08:45"), 20, 17, 3}},
        {"empty name and class, only wrong answers",
         testing::sampleReportText(QString(), QString(), 0, 3),
         {QString(), QString(), QStringLiteral("05.12.2026 08:00"),
          QStringLiteral("05.12.2026 08:45"), 3, 0, 3}},
        {"name with the label text in it",
         testing::sampleReportText(QStringLiteral("Student: X"), QStringLiteral("Třída: 1"), 1, 0),
         {QStringLiteral("Student: X"), QStringLiteral("Třída: 1"),
          QStringLiteral("05.12.2026 08:00"), QStringLiteral("05.12.2026 08:45"), 1, 1, 0}},
        {"dot as time separator and point as decimal separator",
         QStringLiteral("Student: A\r\nTřída: B\r\nPrověřovák: 2 - Měření na voltmetru\r\n"
                        "Od: 01.02.2027 23.59\r\nDo: 02.02.2027 00.10\r\n"
                        "Celkem odpovědí: 3\r\nZ toho dobře: 1 (33.33%)\r\n"
                        "špatně: 2 (66.67%)\r\n"),
         {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("01.02.2027 23.59"),
          QStringLiteral("02.02.2027 00.10"), 3, 1, 2}},
    };
    for (const Case& c : cases) {
        const ParsedReport parsed = parseReportText(c.text);
        ASSERT_TRUE(parsed.ok()) << c.name << ": " << parsed.error.toStdString();
        const ReportFields& f = parsed.fields;
        EXPECT_EQ(f.pupilName, c.expected.pupilName) << c.name;
        EXPECT_EQ(f.pupilClass, c.expected.pupilClass) << c.name;
        EXPECT_EQ(f.from, c.expected.from) << c.name;
        EXPECT_EQ(f.to, c.expected.to) << c.name;
        EXPECT_EQ(f.total, c.expected.total) << c.name;
        EXPECT_EQ(f.right, c.expected.right) << c.name;
        EXPECT_EQ(f.wrong, c.expected.wrong) << c.name;
    }
}

// A report decoded with a wrong random byte or edited by hand must not reach the teacher's
// table as if it were a result.
TEST(ParseReportText, RefusesTextsThatAreNoWholeReport)
{
    const QString good =
        testing::sampleReportText(QStringLiteral("Eva"), QStringLiteral("3.C"), 2, 1);
    const auto edited = [&](const char* from, const char* to) {
        return QString(good).replace(QString::fromUtf8(from), QString::fromUtf8(to));
    };
    const QString noAnswers =
        testing::sampleReportText(QStringLiteral("Eva"), QStringLiteral("3.C"), 0, 0);
    struct Case
    {
        const char* name;
        QString text;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"garbage", QStringLiteral("\x01\x7f\r\n"), "Řádek 1 zprávy nezačíná „Student:“"},
        {"other exercise", edited("2 - Měření na voltmetru", "3 - Měření na ampérmetru"),
         "Řádek 3 zprávy nezačíná"},
        {"date with seconds", edited("08:45", "08:45:10"), "Řádek 5 zprávy: „05.12.2026"},
        {"total not a number", edited("Celkem odpovědí: 3", "Celkem odpovědí: tři"),
         "Řádek 6 zprávy: „tři“"},
        {"negative total", edited("Celkem odpovědí: 3", "Celkem odpovědí: -3"), "Řádek 6"},
        {"counts that do not add up", edited("dobře: 2", "dobře: 5"), "dohromady 3"},
        {"percentage missing", edited("dobře: 2 (66,67%)", "dobře: 2"), "Řádek 7 zprávy: „2“"},
        {"lines 7 and 8 missing", good.first(good.indexOf(QStringLiteral("Z toho"))),
         "Zpráva končí před řádkem 7"},
        {"percentage lines after no answers",
         noAnswers + QStringLiteral("Z toho dobře: 0 (0,00%)\r\n"),
         "Za řádkem 6 zprávy následuje text navíc"},
        {"text after the report", good + QStringLiteral("P.S.\r\n"),
         "Za řádkem 8 zprávy následuje text navíc"},
        {"empty", QString(), "Zpráva končí před řádkem 1"},
    };
    for (const Case& c : cases) {
        const ParsedReport parsed = parseReportText(c.text);
        EXPECT_FALSE(parsed.ok()) << c.name;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.reasonPart)))
            << c.name << ": " << parsed.error.toStdString();
    }
}

} // namespace
} // namespace voltmetr
