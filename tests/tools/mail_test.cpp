#include "mailreports.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace voltmetr {
namespace {

using namespace Qt::StringLiterals;

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(MAIL_FIXTURES) + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the teacher is told: each report as "<where>: <pupil> <class> <right>/<wrong>", then each
// note as "<where>: <note>".
QStringList scanned(const QString& name)
{
    ReportScan scan;
    teacher::scanMailOrText(scan, fixture(name), name);
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
    return told;
}

// Mails as pupils' mail programs save them. The lines are those of the decoded text of the part
// that holds the report, counted by hand in the fixtures.
TEST(SavedMails, EachReportIsFoundInItsPartAndNamedWhereItStands)
{
    const struct
    {
        const char* file;
        QStringList told;
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
        EXPECT_EQ(scanned(QString::fromLatin1(c.file)).join(u'\n').toStdString(),
                  c.told.join(u'\n').toStdString())
            << c.file;
    }
}

// Text pasted into a file is no mail, even when its first line looks like a header.
TEST(SavedMails, PastedTextIsReadAsItStands)
{
    const QByteArray mail = fixture(u"letter-lines.eml"_s);
    const QByteArray body = mail.sliced(mail.indexOf("\n\n") + 2);
    ReportScan scan;
    teacher::scanMailOrText(scan, "Výsledky: posílám\n" + body, u"vlozeno.txt"_s);
    ASSERT_EQ(scan.reports().size(), 1);
    EXPECT_EQ(scan.reports()[0].where, u"vlozeno.txt, řádek 6"_s);
    EXPECT_TRUE(scan.notes().isEmpty());
}

} // namespace
} // namespace voltmetr
