#include "mailreports.h"
#include "report/reportdecoder.h"
#include "reportsamples.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

// What the teacher is told: each report as "<where>: <pupil> <class> <right>/<wrong>", then each
// note as "<where>: <note>".
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

// A random name as typed, and as a decoded report shows it: letters the pupil's code page
// lacks come back as "?".
std::pair<QString, QString> randomName(std::mt19937& random)
{
    static const QStringList typed = u"a|Z|ř|Š|ů|Ď|ľ|ő|ß|'| |€|ø|ñ|Ж|λ|中|😀"_s.split(u'|');
    std::uniform_int_distribution<qsizetype> pick(0, typed.size() - 1);
    std::pair<QString, QString> name;
    for (int n = std::uniform_int_distribution<int>(0, 40)(random); n > 0; --n) {
        const qsizetype piece = pick(random);
        name.first += typed[piece];
        name.second += piece < 12 ? typed[piece] : u"?"_s;
    }
    return name;
}

// Random reports from the pupil's coder, three to a mail, mangled as mail programs and pupils
// mangle them, come back exactly as they were written, names and classes read back.
TEST(MailedReports, RoundTripFromThePupilsCoderThroughMangledMails)
{
    const struct
    {
        const char* name;
        QString blank, lineEnd, before, after; // what the coder's blanks and CR LF became
    } manglings[] = {
        {"run together as written", u" "_s, u"\r\n"_s, {}, {}},
        {"one token a line, LF", u"\n"_s, u"\n"_s, {}, {}},
        {"CR", u" "_s, u"\r"_s, {}, {}},
        {"blanks and line ends doubled", u"  "_s, u"\r\n\r\n"_s, {}, {}},
        {"no-break spaces and tabs", u"\u00a0"_s, u"\t"_s, {}, {}},
        {"quoted twice", u" "_s, u"\n> > "_s, u"> > "_s, u"\n"_s},
        {"letter around", u" "_s, u"\r\n"_s, u"Výsledky: "_s, u"\r\nS pozdravem\r\n-- \r\n"_s},
    };
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> count(0, 250);
    for (int i = 0; i < 320; ++i) {
        const auto& m = manglings[i % std::size(manglings)];
        QString mail;
        QStringList expected;
        for (int report = 0; report < 3; ++report) {
            const auto [name, shownName] = randomName(random);
            const auto [pupilClass, shownClass] = randomName(random);
            const int right = report == 0 ? 0 : count(random);
            const int wrong = report == 1 ? 0 : count(random);
            QString encoded =
                testing::encodedReport(testing::sampleReportText(name, pupilClass, right, wrong));
            mail +=
                m.before + encoded.replace(u' ', m.blank).replace(u"\r\n"_s, m.lineEnd) + m.after;
            expected.append(testing::sampleReportText(shownName, shownClass, right, wrong) +
                            shownName + u'|' + shownClass);
        }
        ReportScan scan;
        scan.addText(mail, {});
        QStringList decoded;
        for (const ScannedReport& report : scan.reports()) {
            decoded.append(report.text + report.fields.pupilName + u'|' + report.fields.pupilClass);
        }
        ASSERT_EQ(decoded.join(u'\n').toStdString(), expected.join(u'\n').toStdString())
            << m.name << told(scan);
    }
}

// A report ends where its text ends: lines of the pupil's letter that hold hex-looking words,
// before it or after it, with or without blank lines between, never join it. A report is the
// same however a mail program wrapped or shouted it; two runs with the same text are two
// reports, each with its own random byte.
TEST(MailedReports, LetterLinesStayOutAndARepeatedReportCountsOnce)
{
    const QString text = testing::sampleReportText(u"Eva"_s, u"2.B"_s, 3, 1);
    const QString eva = testing::encodedReport(text);
    const QString evaAgain = testing::encodedReport(text); // the same run sent once more
    ASSERT_NE(eva, evaAgain);
    // A run without answers: its report has six lines and ends after "Celkem odpovědí: 0".
    const QString jan = testing::encodedReport(testing::sampleReportText(u"Jan"_s, u"3A"_s, 0, 0));
    const QString repeated = u": Tatáž zpráva (Eva) už je výše, 1.txt, řádek 1; započtena jen "
                             u"jednou."_s;
    const struct
    {
        const char* name;
        QStringList texts;
        QString told;
    } cases[] = {
        {"class and surname right after", {eva + u"\nNovák 3A\n"_s}, u"1: Eva 2.B 3/1"_s},
        {"a count after a blank line", {eva + u"\n\nCelkem 20\n"_s}, u"1: Eva 2.B 3/1"_s},
        {"a telephone number before", {u"tel. 12 34\n\n"_s + eva}, u"3: Eva 2.B 3/1"_s},
        {"two pairs alone on a line after", {eva + u"\nad 5b\n"_s}, u"1: Eva 2.B 3/1"_s},
        {"a run without answers, then a count", {jan + u"\n\nCelkem 20\n"_s}, u"1: Jan 3A 0/0"_s},
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

// Worked out by hand from the key's first three bytes 5a 13 c7: "A" CR LF. The round trip
// cannot see a key that coder and decoder got wrong alike.
TEST(MailedReports, DecodeHandWorkedTokens)
{
    EXPECT_EQ(decodeReport(u"4b 00 1b 1e cd "_s).text, u"A\r\n"_s);
    EXPECT_EQ(decodeReport(u"4B FF E4 E1 32"_s).text, u"A\r\n"_s);
}

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(MAIL_FIXTURES) + u'/' + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mails as pupils' mail programs save them. The lines are those of the decoded text of the part
// that holds the report, counted by hand in the fixtures.
TEST(SavedMails, EachReportIsFoundInItsPartAndNamedWhereItStands)
{
    const QByteArray letter = fixture("letter-lines.eml");
    const struct
    {
        const char* file;
        QStringList told;
        QByteArray text = {}; // else the fixture's
    } cases[] = {
        // Without decoding, every report line would end in "=20" and no token would be a pair.
        {"quoted-printable.eml", {u"quoted-printable.eml, řádek 5: Tereza Dvořáková 2.B 17/3"_s}},
        {"base64.eml", {u"base64.eml, řádek 4: Petr Horák 2.B 9/11"_s}},
        // The plain and the HTML form of one letter are one letter; the attached file is more.
        {"multipart.eml",
         {u"multipart.eml, řádek 4: Šárka Šímová 2.B 20/0"_s,
          u"multipart.eml, příloha Vysledky.txt, řádek 1: Jan Novák 3A 0/0"_s}},
        // The blanks became no-break spaces, byte A0 of the declared code page: read as UTF-8
        // they would be no blanks at all.
        {"windows-1250.eml", {u"windows-1250.eml, řádek 5: Tereza Dvořáková 2.B 17/3"_s}},
        {"iso-8859-2.eml", {u"iso-8859-2.eml, řádek 3: Petr Horák 2.B 9/11"_s}},
        // "Novák 3A", "Celkem 20", "tel. 12 34" and "ad 5b" around it, blank lines between.
        {"letter-lines.eml", {u"letter-lines.eml, řádek 5: Jan Novák 3A 0/0"_s}},
        // Text pasted into a file is no mail, even when its first line looks like a header.
        {"vlozeno.txt",
         {u"vlozeno.txt, řádek 6: Jan Novák 3A 0/0"_s},
         "Výsledky: posílám\n" + letter.sliced(letter.indexOf("\n\n") + 2)},
        // Sent again in a second mail of the mailbox, which also quotes the first.
        {"twice.mbox",
         {u"twice.mbox, e-mail č. 1, řádek 3: Tereza Dvořáková 2.B 17/3"_s,
          u"twice.mbox, e-mail č. 2, řádek 3: Tatáž zpráva (Tereza Dvořáková) už je výše, "
          u"twice.mbox, e-mail č. 1, řádek 3; započtena jen jednou."_s,
          u"twice.mbox, e-mail č. 2, řádek 25: Tatáž zpráva (Tereza Dvořáková) už je výše, "
          u"twice.mbox, e-mail č. 1, řádek 3; započtena jen jednou."_s}},
        {"damaged.eml",
         {u"damaged.eml, řádek 6: Dvojice č. 21 „g7“ není šestnáctkové číslo 00 až ff."_s}},
    };
    for (const auto& c : cases) {
        ReportScan scan;
        teacher::scanMailOrText(scan, c.text.isEmpty() ? fixture(c.file) : c.text,
                                QString::fromLatin1(c.file));
        EXPECT_EQ(told(scan), c.told.join(u'\n').toStdString()) << c.file;
    }
}

} // namespace
} // namespace voltmetr
