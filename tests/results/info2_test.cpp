#include "results/info2.h"
#include "results/reportdecoder.h"
#include "support/scriptedhost.h"

#include <QRegularExpression>

namespace voltmetr {
namespace {

class Coder : public ::testing::Test
{
protected:
    Coder() { coder.InitReportCoder(); }

    // A report of text whose random byte comes from draw: 0.5 gives 0x80.
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

TEST_F(Coder, OneTokenACharacterTenALine)
{
    const QString line1 = QStringLiteral("4b 80 xx xx xx xx xx xx xx xx \r\n");
    // A report line (CR LF follows), the report with each token after "4b 80" written as "xx",
    // and the line decoded.
    const std::tuple<const char*, const char*, QString, const char*> cases[] = {
        {"8 characters fill the first line", "123456", line1, "123456"},
        {"9 put one token on line 2", "1234567", line1 + QStringLiteral("xx "), "1234567"},
        {"ř", "ř", QStringLiteral("4b 80 xx xx xx "), "ř"},
        {"š", "š", QStringLiteral("4b 80 xx xx xx "), "š"},
        {"í", "í", QStringLiteral("4b 80 xx xx xx "), "í"},
        {"ů", "ů", QStringLiteral("4b 80 xx xx xx "), "ů"},
        {"not in the code page", "日", QStringLiteral("4b 80 xx xx xx "), "?"},
        {"outside the Basic Multilingual Plane", "\xF0\x9F\x98\x80",
         QStringLiteral("4b 80 xx xx xx "), "?"},
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

TEST_F(Coder, TwoReportsOfOneTextDifferInEveryTokenButTheFirstAndDecodeAlike)
{
    const QString text = QStringLiteral("Student: Řehoř Šťastný\r\nTřída: 2.B\r\nCelkem: 12\r\n");
    const QString first = encode(text, 0.2f);
    const QString second = encode(text, 0.9f);
    const QStringList a = first.split(u' ');
    const QStringList b = second.split(u' ');
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 1; i < a.size() - 1; ++i) {
        EXPECT_NE(a[i], b[i]) << "token " << i;
    }
    EXPECT_EQ(decodeReport(first).text, text);
    EXPECT_EQ(decodeReport(second).text, text);
}

} // namespace
} // namespace voltmetr
