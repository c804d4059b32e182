#include "mailreports.h"
#include "report/reportdecoder.h"
#include "report/reportsamples.h"

#include <QFile>
#include <QStringEncoder>
#include <QStringList>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// Each report as "<where>: <pupil> <class> <right>/<wrong>", then each note as "<where>: <note>".
std::string told(const ReportScan& scan)
{
    QStringList told;
    for (const ScannedReport& report : scan.reports()) {
        told.append(u"%1: %2 %3 %4/%5"_s
                        .arg(report.where, report.fields.pupilName, report.fields.pupilClass)
                        .arg(report.fields.right)
                        .arg(report.fields.wrong));
    }
    for (const ReportNote& note : scan.notes()) {
        told.append(u"%1: %2"_s.arg(note.where, note.text));
    }
    return told.join(u'\n').toStdString();
}

// A report is found however its blanks and line ends were mangled, and no hex-looking line of the
// letter joins it. Wrapped or shouted it is the same report; a second run of the same text is not.
TEST(MailedReports, ManglingsLetterLinesAndARepeatedReport)
{
    const QString text = testing::sampleReportText(u"Eva"_s, u"2.B"_s, 3, 1);
    const QString eva = testing::encodedReport(text);
    const QString evaAgain = testing::encodedReport(text); // the same run sent once more
    ASSERT_NE(eva, evaAgain);
    // A run without answers: six lines, ending with "Celkem odpovědí: 0".
    const QString jan = testing::encodedReport(testing::sampleReportText(u"Jan"_s, u"3A"_s, 0, 0));
    const QString repeated = u": Tatáž zpráva (Eva) už je výše, 1.txt, řádek 1; započtena jen "
                             u"jednou."_s;
    const struct
    {
        const char* name;
        QStringList texts;
        QString told;
    } cases[] = {
        {"CR line ends doubled, blanks as no-break spaces and tabs",
         {QString(eva).replace(u"\r\n"_s, u"\r\r"_s).replace(u' ', u"\u00a0\t"_s)},
         u"1: Eva 2.B 3/1"_s},
        {"quoted twice, a word before it",
         {u"> > Výsledky: "_s + QString(eva).replace(u"\r\n"_s, u"\n> > "_s)},
         u"1: Eva 2.B 3/1"_s},
        {"two pairs alone on a line after", {eva + u"\nad 5b\n"_s}, u"1: Eva 2.B 3/1"_s},
        {"a quoted run without answers, then a quoted count",
         {u"> "_s + QString(jan).replace(u"\r\n"_s, u"\r\n> "_s) + u"\r\n> Celkem 20\r\n"_s},
         u"1: Jan 3A 0/0"_s},
        {"two reports on one line",
         {eva.simplified() + u' ' + jan.simplified()},
         u"1: Eva 2.B 3/1\n1.txt, řádek 1: Jan 3A 0/0"_s},
        // "S pozdravem" after the empty line that the report's last line end leaves.
        {"the same run twice, the second shouted on one line",
         {eva + u"\nS pozdravem\n"_s + eva.simplified().toUpper()},
         u"1: Eva 2.B 3/1\n1.txt, řádek %1"_s.arg(eva.count(u"\r\n"_s) + 3) + repeated},
        // In 2.txt each token stands on a line of its own, and each CR LF adds an empty line.
        {"the same run again, one token a line, in another text; then sent once more",
         {eva, QString(eva).replace(u' ', u'\n') + u"\n"_s + evaAgain},
         u"1: Eva 2.B 3/1\n2.txt, řádek %1: Eva 2.B 3/1\n2.txt, řádek 1"_s.arg(
             eva.count(u' ') + eva.count(u"\r\n"_s) + 2) +
             repeated},
    };
    for (const auto& c : cases) {
        ReportScan scan;
        for (qsizetype i = 0; i < c.texts.size(); ++i) {
            scan.addText(c.texts[i], u"%1.txt"_s.arg(i + 1));
        }
        EXPECT_EQ(told(scan), (u"1.txt, řádek "_s + c.told).toStdString()) << c.name;
    }
}

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(MAIL_FIXTURES) + u'/' + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mails as mail programs save them; lines counted by hand in the decoded part holding the report.
TEST(SavedMails, EachReportIsFoundInItsPartAndNamedWhereItStands)
{
    const QByteArray letter = fixture("letter-lines.eml");
    const struct
    {
        const char* file;
        const char16_t* told; // each "<file>, " left out
        QByteArray text = {}; // else the fixture's
    } cases[] = {
        // Without decoding, every report line would end in "=20" and no token would be a pair.
        {"quoted-printable.eml", u"řádek 5: Tereza Dvořáková 2.B 17/3"},
        {"base64.eml", u"řádek 4: Petr Horák 2.B 9/11"},
        // The plain and the HTML form of one letter are one letter; the attached file is more.
        {"multipart.eml",
         u"řádek 4: Šárka Šímová 2.B 20/0\npříloha Vysledky.txt, řádek 1: Jan Novák 3A 0/0"},
        // The blanks became no-break spaces, byte A0 of the declared code page, not of UTF-8.
        {"windows-1250.eml", u"řádek 5: Tereza Dvořáková 2.B 17/3"},
        {"iso-8859-2.eml", u"řádek 3: Petr Horák 2.B 9/11"},
        // "Novák 3A", "Celkem 20", "tel. 12 34" and "ad 5b" around it, blank lines between.
        {"letter-lines.eml", u"řádek 5: Jan Novák 3A 0/0"},
        // Text pasted into a file is no mail, even when its first line looks like a header.
        {"vlozeno.txt", u"řádek 6: Jan Novák 3A 0/0",
         "Výsledky: posílám\n" + letter.sliced(letter.indexOf("\n\n") + 2)},
        // Opened in Notepad and saved again as "Unicode big endian": the same mail.
        {"unicode.eml", u"řádek 5: Tereza Dvořáková 2.B 17/3",
         QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom)
             .encode(QString::fromUtf8(fixture("quoted-printable.eml")))},
        // Sent again in a second mail of the mailbox, which also quotes the first.
        {"twice.mbox",
         u"e-mail č. 1, řádek 3: Tereza Dvořáková 2.B 17/3\ne-mail č. 2, řádek 3: Tatáž zpráva "
         u"(Tereza Dvořáková) už je výše, e-mail č. 1, řádek 3; započtena jen jednou.\ne-mail č. "
         u"2, řádek 25: Tatáž zpráva (Tereza Dvořáková) už je výše, e-mail č. 1, řádek 3; "
         u"započtena jen jednou."},
    };
    for (const auto& c : cases) {
        ReportScan scan;
        const QString file = QString::fromLatin1(c.file);
        teacher::scanMailOrText(scan, c.text.isEmpty() ? fixture(c.file) : c.text, file);
        EXPECT_EQ(QString::fromStdString(told(scan)).remove(file + u", "_s),
                  QString::fromUtf16(c.told))
            << c.file;
    }
}

} // namespace
} // namespace voltmetr
