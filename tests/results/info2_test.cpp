#include "results/info2.h"
#include "results/reportdecoder.h"
#include "results/reportkey.h"
#include "support/scriptedhost.h"

#include <QRegularExpression>

namespace voltmetr {
namespace {

class Coder : public ::testing::Test
{
protected:
    Coder() { coder.InitReportCoder(); }

    // A report of text whose random byte comes from draw (0.5 gives 0x80).
    QString encode(const QString& text, float draw = 0.5f)
    {
        host.queueRandom({draw});
        coder.StartReport();
        coder.AppendEncoded(text);
        return coder.GetReportText();
    }

    testing::ScriptedCoreHost host;
    Info2 coder{host};
};

TEST_F(Coder, TenTokensALineHeaderIncluded)
{
    const QString fullLine = QStringLiteral("xx ").repeated(10) + QStringLiteral("\r\n");
    const struct
    {
        const char* name;
        qsizetype characters;
        QString tokensAfterHeader; // every token written as "xx"
    } cases[] = {
        {"the header alone", 0, QString()},
        {"8 characters fill the first line", 8, fullLine.mid(6)},
        {"9 put one token on line 2", 9, fullLine.mid(6) + QStringLiteral("xx ")},
    };
    for (const auto& c : cases) {
        const QString report = encode(QString(c.characters, u'x'));
        EXPECT_EQ(report.left(6), QStringLiteral("4b 80 ")) << c.name;
        EXPECT_EQ(report.mid(6).replace(QRegularExpression(QStringLiteral("[0-9a-f]{2}")),
                                        QStringLiteral("xx")),
                  c.tokensAfterHeader)
            << c.name;
    }
}

// A character is its Central European code page byte, mixed with the first key byte and the
// report's random byte.
TEST_F(Coder, EachCharacterIsOneTokenOfItsCodePageByte)
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
        {"not in the code page", QStringLiteral("日"), '?'},
        {"outside the Basic Multilingual Plane", QString::fromUtf8("\xF0\x9F\x98\x80"), '?'},
    };
    for (const auto& c : cases) {
        const int token = c.code ^ ReportKeyBytes[0] ^ 0x80;
        EXPECT_EQ(encode(c.text), QStringLiteral("4b 80 %1 ").arg(token, 2, 16, QChar(u'0')))
            << c.name;
    }
}

TEST_F(Coder, TwoReportsOfOneTextDifferInEveryTokenButTheFirstAndDecodeAlike)
{
    const QString text =
        QStringLiteral("Student: Řehoř Šťastný\r\nTřída: 2.B\r\nCelkem odpovědí: 12\r\n");
    const QStringList first = encode(text, 0.2f).split(u' ');
    const QStringList second = encode(text, 0.9f).split(u' ');
    ASSERT_EQ(first.size(), second.size());
    for (qsizetype i = 1; i < first.size() - 1; ++i) {
        EXPECT_NE(first[i], second[i]) << "token " << i;
    }
    EXPECT_EQ(decodeReport(first.join(u' ')).text, text);
    EXPECT_EQ(decodeReport(second.join(u' ')).text, text);
}

} // namespace
} // namespace voltmetr
