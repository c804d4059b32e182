#include "fixedrandomhost.h"
#include "results/info2.h"
#include "results/reportdecoder.h"
#include "results/reportkey.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using testing::FixedRandomHost;

QString encode(Info2& coder, const QString& text)
{
    coder.StartReport();
    coder.AppendEncoded(text);
    return coder.GetReportText();
}

QStringList tokensOf(const QString& report)
{
    return report.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

std::uint8_t tokenByte(const QString& token)
{
    return static_cast<std::uint8_t>(token.toUInt(nullptr, 16));
}

TEST(Info2, ByteToHexWritesTwoLowerCaseDigits)
{
    const struct
    {
        std::uint8_t byte;
        const char* hex;
    } cases[] = {{75, "4b"}, {10, "0a"}, {255, "ff"}, {0, "00"}, {0xa0, "a0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Info2::ByteToHex(c.byte), QString::fromLatin1(c.hex)) << int(c.byte);
    }
}

TEST(Info2, AReportOpensWithKThenItsRandomByte)
{
    const struct
    {
        const char* name;
        float draw;
        const char* nonce;
    } cases[] = {{"lowest draw", 0.0f, "00"},
                 {"middle", 0.5f, "80"},
                 {"just below one", 0.99999994f, "ff"},
                 {"a third", 1.0f / 3.0f, "55"}};
    for (const auto& c : cases) {
        FixedRandomHost host{c.draw};
        Info2 coder(host);
        coder.InitReportCoder();
        EXPECT_EQ(coder.GetReportText(),
                  QStringLiteral("4b ") + QString::fromLatin1(c.nonce) + QStringLiteral(" "))
            << c.name;
    }
}

TEST(Info2, LinesBreakAfterEveryTenthTokenHeaderIncluded)
{
    const struct
    {
        const char* name;
        int characters;
        int lines;
        bool endsWithLineBreak;
    } cases[] = {
        {"empty text: the header only", 0, 1, false},
        {"8 characters fill the first line", 8, 1, true},
        {"9 characters put one token on line 2", 9, 2, false},
        {"18 characters fill two lines", 18, 2, true},
        {"40 characters", 40, 5, false},
    };
    for (const auto& c : cases) {
        FixedRandomHost host{0.25f, 0.25f};
        Info2 coder(host);
        coder.InitReportCoder();
        const QString report = encode(coder, QString(c.characters, u'x'));
        EXPECT_EQ(tokensOf(report).size(), c.characters + 2) << c.name;
        EXPECT_EQ(report.endsWith(QStringLiteral("\r\n")), c.endsWithLineBreak) << c.name;
        if (!c.endsWithLineBreak) {
            EXPECT_TRUE(report.endsWith(u' ')) << c.name;
        }
        const QStringList lines = report.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), c.lines) << c.name;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            EXPECT_EQ(lines[i].size(), 30) << c.name << ", full line " << i; // ten "xx "
        }
    }
}

// Each character is one byte of the Central European code page, mixed with the key byte of
// its position and the report's random byte.
TEST(Info2, CzechLettersAreOneTokenOfTheirCodePageByte)
{
    const struct
    {
        const char* name;
        QString text;
        std::uint8_t code;
    } cases[] = {
        {"ř", QStringLiteral("ř"), 0xf8},
        {"š", QStringLiteral("š"), 0x9a},
        {"í", QStringLiteral("í"), 0xed},
        {"ů", QStringLiteral("ů"), 0xf9},
        {"Ř", QStringLiteral("Ř"), 0xd8},
        {"CR", QStringLiteral("\r"), 0x0d},
        {"CJK, not in the code page", QStringLiteral("日"), '?'},
        {"emoji outside the BMP", QString::fromUtf8("\xF0\x9F\x98\x80"), '?'},
    };
    for (const auto& c : cases) {
        FixedRandomHost host{0.5f, 0.5f};
        Info2 coder(host);
        coder.InitReportCoder();
        const QStringList tokens = tokensOf(encode(coder, c.text));
        ASSERT_EQ(tokens.size(), 3) << c.name;
        EXPECT_EQ(tokenByte(tokens[2]), c.code ^ ReportKeyBytes[0] ^ 0x80) << c.name;
    }
}

TEST(Info2, TheKeyRepeatsEvery32Characters)
{
    FixedRandomHost host{0.0f, 0.75f};
    Info2 coder(host);
    coder.InitReportCoder();
    const QString text(70, u'a');
    const QStringList tokens = tokensOf(encode(coder, text));
    ASSERT_EQ(tokens.size(), 72);
    for (int j = 0; j < 70; ++j) {
        EXPECT_EQ(tokenByte(tokens[j + 2]),
                  'a' ^ ReportKeyBytes[static_cast<std::size_t>(j % 32)] ^ 0xc0)
            << "character " << j;
    }
}

TEST(Info2, TwoReportsOfOneTextDifferInEveryTokenButTheFirstAndDecodeAlike)
{
    const QString text =
        QStringLiteral("Student: Řehoř Šťastný\r\nTřída: 2.B\r\nCelkem odpovědí: 12\r\n");
    FixedRandomHost host{0.1f, 0.2f, 0.9f};
    Info2 coder(host);
    coder.InitReportCoder();
    const QString first = encode(coder, text);
    const QString second = encode(coder, text);
    const QStringList a = tokensOf(first);
    const QStringList b = tokensOf(second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a[0], QStringLiteral("4b"));
    EXPECT_EQ(b[0], QStringLiteral("4b"));
    for (qsizetype i = 1; i < a.size(); ++i) {
        EXPECT_NE(a[i], b[i]) << "token " << i;
    }
    const DecodedReport decodedFirst = decodeReport(first);
    const DecodedReport decodedSecond = decodeReport(second);
    ASSERT_TRUE(decodedFirst.ok()) << decodedFirst.error.toStdString();
    ASSERT_TRUE(decodedSecond.ok()) << decodedSecond.error.toStdString();
    EXPECT_EQ(decodedFirst.text, text);
    EXPECT_EQ(decodedSecond.text, text);
}

TEST(Info2, StartReportForgetsTheEarlierReport)
{
    FixedRandomHost host{0.0f, 0.0f};
    Info2 coder(host);
    coder.InitReportCoder();
    encode(coder, QStringLiteral("first report, long enough to wrap the key position"));
    const QStringList tokens = tokensOf(encode(coder, QStringLiteral("a")));
    ASSERT_EQ(tokens.size(), 3);
    EXPECT_EQ(tokenByte(tokens[2]), 'a' ^ ReportKeyBytes[0]);
}

} // namespace
} // namespace voltmetr
