#include "randomhost.h"
#include "reportsamples.h"
#include "results/info2.h"
#include "results/reportdecoder.h"
#include "results/reportextract.h"
#include "results/reportfields.h"

#include <gtest/gtest.h>
#include <random>

namespace voltmetr {
namespace {

struct Sample
{
    QString encoded;
    QString decodedText;
    testing::SampleName name;
};

class ReportExtractTest : public ::testing::Test
{
protected:
    Sample makeReport(int right, int wrong)
    {
        const testing::SampleName name = testing::randomName(m_random);
        m_coder.StartReport();
        m_coder.AppendEncoded(
            testing::sampleReportText(name.typed, QStringLiteral("2.B"), right, wrong));
        return {m_coder.GetReportText(),
                testing::sampleReportText(name.decoded, QStringLiteral("2.B"), right, wrong), name};
    }

    void SetUp() override { m_coder.InitReportCoder(); }

    std::mt19937 m_random{42};
    testing::RandomHost m_host{5};
    Info2 m_coder{m_host};
};

QStringList decodedTexts(const QList<FoundReport>& found)
{
    QStringList texts;
    for (const FoundReport& report : found) {
        const DecodedReport decoded = decodeReport(report.encoded);
        texts.append(decoded.ok() ? decoded.text : QStringLiteral("CHYBA ") + decoded.error);
    }
    return texts;
}

QString quoted(QString text, const QString& prefix)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        line.prepend(prefix);
    }
    return lines.join(u'\n');
}

QString rewrapped(const QString& encoded, int tokensPerLine)
{
    const QStringList tokens = encoded.simplified().split(u' ');
    QString text;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        text += tokens[i] + (i % tokensPerLine == tokensPerLine - 1 ? u'\n' : u' ');
    }
    return text;
}

TEST_F(ReportExtractTest, FindsEveryReportInMailsAsPupilsSendThem)
{
    const Sample a = makeReport(17, 3);
    const Sample b = makeReport(0, 0);
    const Sample c = makeReport(1, 2);
    const QString hello = QStringLiteral("Dobrý den, paní učitelko,\r\nposílám výsledky.\r\n\r\n");
    const QString bye = QStringLiteral("\r\nS pozdravem\r\nJan\r\n-- \r\nOdesláno z mobilu\r\n");
    QString doubledBlankLines = a.encoded;
    doubledBlankLines.replace(QStringLiteral("\r\n"), QStringLiteral("\r\n\r\n"));

    struct Case
    {
        const char* name;
        QString mail;
        QStringList expected;
    };
    const Case cases[] = {
        {"greeting and signature around", hello + a.encoded + bye, {a.decodedText}},
        {"answered twice: quoted with > and > >",
         quoted(hello + a.encoded, QStringLiteral("> > ")) + QStringLiteral("\n") +
             quoted(b.encoded, QStringLiteral(">")),
         {a.decodedText, b.decodedText}},
        {"rewrapped at 13 tokens with LF", hello + rewrapped(a.encoded, 13) + bye, {a.decodedText}},
        {"blank lines doubled", doubledBlankLines, {a.decodedText}},
        {"three reports separated by letters",
         hello + a.encoded + bye + b.encoded + QStringLiteral("\r\n") + hello + c.encoded,
         {a.decodedText, b.decodedText, c.decodedText}},
        {"three reports run together on shared lines",
         rewrapped(a.encoded + b.encoded + c.encoded, 17),
         {a.decodedText, b.decodedText, c.decodedText}},
        {"report after a label on its first line",
         QStringLiteral("Výsledky: ") + a.encoded + bye,
         {a.decodedText}},
        {"no report at all", hello + bye, {}},
    };
    for (const Case& test : cases) {
        const QString separator = QStringLiteral("\n----\n");
        EXPECT_EQ(decodedTexts(findReports(test.mail)).join(separator).toStdString(),
                  test.expected.join(separator).toStdString())
            << test.name;
    }
}

TEST_F(ReportExtractTest, KeepsDamagedReportsApartAndKnowsTheLineOfEachToken)
{
    const Sample good = makeReport(4, 4);
    Sample damaged = makeReport(2, 0);
    QStringList tokens = damaged.encoded.simplified().split(u' ');
    tokens[23] = QStringLiteral("zz"); // third line of the damaged report
    const QString mail = QStringLiteral("Ahoj\n") + rewrapped(tokens.join(u' '), 10) +
                         QStringLiteral("\nA ještě jednou:\n") + good.encoded;

    const QList<FoundReport> found = findReports(mail);
    ASSERT_EQ(found.size(), 2);
    const DecodedReport first = decodeReport(found[0].encoded);
    EXPECT_FALSE(first.ok());
    EXPECT_EQ(first.badToken, 24);
    EXPECT_EQ(found[0].firstLine(), 2);
    EXPECT_EQ(found[0].lineOfToken(first.badToken), 4);
    EXPECT_EQ(found[0].lineOfToken(-1), 2);
    const DecodedReport second = decodeReport(found[1].encoded);
    ASSERT_TRUE(second.ok()) << second.error.toStdString();
    EXPECT_EQ(second.text, good.decodedText);
    EXPECT_GT(found[1].firstLine(), found[0].tokenLines.last());
}

TEST_F(ReportExtractTest, RandomReportsSurviveTheMailRoundTripIntoTheirFields)
{
    std::uniform_int_distribution<int> count(0, 60);
    std::uniform_int_distribution<int> width(3, 25);
    QString mail;
    QList<Sample> sent;
    QList<std::pair<int, int>> counts;
    for (int i = 0; i < 40; ++i) {
        const int right = count(m_random);
        const int wrong = count(m_random);
        sent.append(makeReport(right, wrong));
        counts.append({right, wrong});
        mail += QStringLiteral("> Zpráva %1:\n").arg(i) +
                quoted(rewrapped(sent.last().encoded, width(m_random)), QStringLiteral("> ")) +
                QStringLiteral("\n");
    }
    const QList<FoundReport> found = findReports(mail);
    ASSERT_EQ(found.size(), sent.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        const DecodedReport decoded = decodeReport(found[i].encoded);
        ASSERT_TRUE(decoded.ok()) << i << ": " << decoded.error.toStdString();
        EXPECT_EQ(decoded.text, sent[i].decodedText) << i;
        const ParsedReport parsed = parseReportText(decoded.text);
        ASSERT_TRUE(parsed.ok()) << i << ": " << parsed.error.toStdString();
        EXPECT_EQ(parsed.fields.pupilName, sent[i].name.decoded) << i;
        EXPECT_EQ(parsed.fields.right, counts[i].first) << i;
        EXPECT_EQ(parsed.fields.wrong, counts[i].second) << i;
        EXPECT_EQ(parsed.fields.total, counts[i].first + counts[i].second) << i;
    }
}

} // namespace
} // namespace voltmetr
