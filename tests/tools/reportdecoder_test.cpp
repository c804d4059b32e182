#include "randomhost.h"
#include "reportsamples.h"
#include "results/info2.h"
#include "results/reportdecoder.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <random>

namespace voltmetr {
namespace {

using testing::RandomHost;

QString encode(Info2& coder, const QString& text)
{
    coder.StartReport();
    coder.AppendEncoded(text);
    return coder.GetReportText();
}

// Tokens worked out by hand from the first three key bytes 5a 13 c7: "A" CR LF.
TEST(DecodeReport, ReadsHandWorkedTokens)
{
    struct Case
    {
        const char* name;
        const char* encoded;
    };
    const Case cases[] = {
        {"random byte 00", "4b 00 1b 1e cd "},
        {"random byte ff", "4b ff e4 e1 32 "},
        {"upper-case digits", "4B FF E4 E1 32"},
    };
    for (const Case& c : cases) {
        const DecodedReport report = decodeReport(QString::fromLatin1(c.encoded));
        EXPECT_TRUE(report.ok()) << c.name << ": " << report.error.toStdString();
        EXPECT_EQ(report.text, QStringLiteral("A\r\n")) << c.name;
        EXPECT_EQ(report.badToken, -1) << c.name;
    }
}

// The report's key repeats every 32 characters: a text of 70 characters uses each key byte
// two or three times, and all of them must line up.
TEST(DecodeReport, RoundTripsRandomReportsFromTheProgramsCoder)
{
    RandomHost host(7);
    Info2 coder(host);
    coder.InitReportCoder();
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> count(0, 250);
    for (int i = 0; i < 300; ++i) {
        const testing::SampleName name = testing::randomName(random);
        const testing::SampleName pupilClass = testing::randomName(random);
        const int right = i % 5 == 0 ? 0 : count(random);
        const int wrong = i % 7 == 0 ? 0 : count(random);
        const QString encoded =
            encode(coder, testing::sampleReportText(name.typed, pupilClass.typed, right, wrong));
        const DecodedReport report = decodeReport(encoded);
        ASSERT_TRUE(report.ok()) << report.error.toStdString();
        EXPECT_EQ(report.text,
                  testing::sampleReportText(name.decoded, pupilClass.decoded, right, wrong))
            << "name " << name.typed.toStdString();
    }
}

// What mail programs do to the text between the pupil's clipboard and the teacher.
TEST(DecodeReport, AcceptsTheReportAsMailProgramsMangleIt)
{
    RandomHost host(11);
    Info2 coder(host);
    coder.InitReportCoder();
    const QString text =
        testing::sampleReportText(QStringLiteral("Nováková Šárka"), QStringLiteral("2.B"), 17, 3);
    const QString encoded = encode(coder, text);
    const QStringList tokens =
        encoded.split(u' ', Qt::SkipEmptyParts).replaceInStrings(QStringLiteral("\r\n"), QString());

    QString rewrapped;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        rewrapped += tokens[i] + (i % 7 == 6 ? QStringLiteral("\n") : QStringLiteral(" "));
    }
    QString lfOnly = encoded;
    lfOnly.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString doubled = encoded;
    doubled.replace(u' ', QStringLiteral("  "));
    doubled.replace(QStringLiteral("\r\n"), QStringLiteral("\r\n\r\n"));
    QString noBreak = encoded;
    noBreak.replace(u' ', QChar(0x00a0));
    QString crOnly = encoded;
    crOnly.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));

    struct Case
    {
        const char* name;
        QString encoded;
    };
    const Case cases[] = {
        {"as written", encoded},
        {"rewrapped at seven tokens", rewrapped},
        {"one long line", tokens.join(u' ')},
        {"LF line ends", lfOnly},
        {"blanks and line ends doubled", doubled},
        {"no-break spaces", noBreak},
        {"tabs and surrounding white space",
         QStringLiteral("\n\t ") + tokens.join(u'\t') + QStringLiteral(" \r\n\r\n")},
        {"CR only", crOnly},
    };
    for (const Case& c : cases) {
        const DecodedReport report = decodeReport(c.encoded);
        EXPECT_TRUE(report.ok()) << c.name << ": " << report.error.toStdString();
        EXPECT_EQ(report.text, text) << c.name;
    }
}

TEST(DecodeReport, NamesTheTokenThatSpoilsADamagedReport)
{
    RandomHost host(3);
    Info2 coder(host);
    coder.InitReportCoder();
    const QString encoded = encode(
        coder, testing::sampleReportText(QStringLiteral("Dvořák"), QStringLiteral("1.A"), 2, 1));
    QStringList tokens = encoded.simplified().split(u' ');
    const auto replaced = [&](qsizetype index, const QString& token) {
        QStringList copy = tokens;
        copy[index] = token;
        return copy.join(u' ');
    };
    const auto firstTokens = [&](qsizetype count) { return tokens.first(count).join(u' '); };

    struct Case
    {
        const char* name;
        QString encoded;
        int badToken;
        QString quoted; // what the message must quote: the token or its number
    };
    const Case cases[] = {
        {"empty", QString(), -1, QString()},
        {"white space only", QStringLiteral(" \r\n\t"), -1, QString()},
        {"first token not 4b", replaced(0, QStringLiteral("4c")), 1, QStringLiteral("„4c“")},
        {"prose before the report", QStringLiteral("Dobrý den ") + encoded, 1,
         QStringLiteral("„Dobrý“")},
        {"letter outside hex", replaced(6, QStringLiteral("4g")), 7, QStringLiteral("„4g“")},
        {"three digits", replaced(15, QStringLiteral("a0b")), 16, QStringLiteral("„a0b“")},
        {"one digit", replaced(20, QStringLiteral("7")), 21, QStringLiteral("„7“")},
        {"bad random byte token", replaced(1, QStringLiteral("x1")), 2, QStringLiteral("„x1“")},
        {"magic only", firstTokens(1), 2, QStringLiteral("č. 1")},
        {"header only", firstTokens(2), 3, QStringLiteral("č. 2")},
        {"cut inside a line", firstTokens(tokens.size() - 5), static_cast<int>(tokens.size() - 4),
         QStringLiteral("č. %1").arg(tokens.size() - 5)},
        {"cut between CR and LF", firstTokens(tokens.size() - 1), static_cast<int>(tokens.size()),
         QStringLiteral("č. %1").arg(tokens.size() - 1)},
    };
    for (const Case& c : cases) {
        const DecodedReport report = decodeReport(c.encoded);
        EXPECT_FALSE(report.ok()) << c.name;
        EXPECT_TRUE(report.text.isEmpty()) << c.name;
        EXPECT_EQ(report.badToken, c.badToken) << c.name;
        EXPECT_TRUE(report.error.contains(c.quoted))
            << c.name << ": " << report.error.toStdString();
        // One line, so that the tool can print it after the file's name.
        EXPECT_FALSE(report.error.contains(u'\n')) << c.name;
    }
}

} // namespace
} // namespace voltmetr
