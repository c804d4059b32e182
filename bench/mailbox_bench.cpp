// A big school's mailbox of a few weeks: more than 10 MB of mails, each with one pupil's report,
// written as mail programs write them (a plain letter in UTF-8, quoted-printable, an HTML letter
// beside its plain form, the report attached as Vysledky.txt in base64), the report made by the
// pupils' program's own coder. It is decoded and every report matched to the 6,000 listed pupils
// of 200 classes of a school database file, and told whether it is stored already, as the
// teacher's window does with a dropped mailbox. The goal: within 2 s, and the whole process's
// peak memory (making the mailbox and the database included) under 150 MB.
#include "app/oledate.h"
#include "emptydatabase.h"
#include "mailedreports.h"
#include "quiethost.h"
#include "report/info2.h"
#include "report/reporttext.h"
#include "school/pupilstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

using namespace voltmetr;

constexpr int Classes = 200;
constexpr int Pupils = 6'000;
constexpr qsizetype MailboxBytes = 10 * 1024 * 1024;

const char16_t* const surnames[] = {u"Novák",     u"Svobodová", u"Dvořák",  u"Černá",
                                    u"Procházka", u"Kučerová",  u"Veselý",  u"Horáková",
                                    u"Němec",     u"Marková",   u"Pokorný", u"Pospíšilová"};
const char16_t* const firstNames[] = {u"Jan", u"Eva", u"Petr", u"Tereza", u"Jiří", u"Lucie"};

QString className(int i)
{
    return QStringLiteral("%1.%2").arg(1 + i % 4).arg(QChar(u'A' + i / 4 % 26)) +
           (i < 104 ? QString() : QString::number(i / 104));
}

QString surname(int pupil)
{
    return QStringLiteral("%1%2").arg(QString::fromUtf16(surnames[pupil % 12])).arg(pupil / 12);
}

// One mail of pupil's report, in the form the mail's number picks.
QByteArray mail(int number, const QString& report)
{
    const QByteArray header =
        QStringLiteral("From zak%1@skola.cz Fri Dec  4 09:12:41 2026\n"
                       "Return-Path: <zak%1@skola.cz>\nFrom: Žák <zak%1@skola.cz>\n"
                       "To: Mgr. Jana Veselá <vesela@skola.cz>\nSubject: Výsledky z voltmetru\n"
                       "Date: Fri, 04 Dec 2026 09:12:41 +0100\nMessage-ID: <%1@posta.skola.cz>\n"
                       "MIME-Version: 1.0\n")
            .arg(number)
            .toUtf8();
    const QByteArray letter = QStringLiteral("Dobrý den, paní učitelko,\n\nposílám výsledky "
                                             "z dnešního cvičení:\n\n%1\n\nS pozdravem\nžák\n")
                                  .arg(report)
                                  .toUtf8();
    switch (number % 4) {
    case 0:
        return header +
               "Content-Type: text/plain; charset=UTF-8\n"
               "Content-Transfer-Encoding: 8bit\n\n" +
               letter;
    case 1: {
        QByteArray quoted;
        for (const char byte : letter) {
            const auto code = static_cast<unsigned char>(byte);
            quoted += code < 128 && byte != '=' ? QByteArray(1, byte)
                                                : "=" + QByteArray::number(code, 16).toUpper();
        }
        return header +
               "Content-Type: text/plain; charset=UTF-8\n"
               "Content-Transfer-Encoding: quoted-printable\n\n" +
               quoted;
    }
    case 2:
        return header +
               "Content-Type: multipart/alternative; boundary=\"alt\"\n\n--alt\n"
               "Content-Type: text/plain; charset=UTF-8\n\n" +
               letter + "\n--alt\nContent-Type: text/html; charset=UTF-8\n\n<html><body><p>" +
               QString::fromUtf8(letter).toHtmlEscaped().toUtf8().replace("\n", "<br>\n") +
               "</p></body></html>\n--alt--\n";
    default:
        return header +
               "Content-Type: multipart/mixed; boundary=\"mix\"\n\n--mix\n"
               "Content-Type: text/plain; charset=UTF-8\n\nVýsledky v příloze.\n"
               "--mix\nContent-Type: text/plain; name=Vysledky.txt\n"
               "Content-Disposition: attachment; filename=Vysledky.txt\n"
               "Content-Transfer-Encoding: base64\n\n" +
               report.toLatin1().toBase64() + "\n--mix--\n";
    }
}

// Writes the mailbox: reports of the listed pupils signed "first name surname", "surname first
// name" or with the class written otherwise ("2b"), a tenth by nobody on the list.
int writeMailbox(const QString& path)
{
    bench::QuietHost host;
    Info2 coder(host);
    coder.InitReportCoder();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    const QDateTime start({2026, 11, 2}, {8, 0});
    int mails = 0;
    for (qint64 written = 0; written < MailboxBytes; ++mails) {
        const int pupil = mails * 7 % Pupils;
        const QString first = QString::fromUtf16(firstNames[mails % 6]);
        const QString name = mails % 10 == 0  ? first + QStringLiteral(" Nováčková")
                             : mails % 2 == 0 ? first + u' ' + surname(pupil)
                                              : surname(pupil) + u' ' + first;
        const QString pupilClass = mails % 3 == 0
                                       ? className(pupil % Classes).toLower().remove(u'.')
                                       : className(pupil % Classes);
        const QDateTime from = start.addSecs(mails * 60LL);
        coder.StartReport();
        coder.AppendEncoded(composeReportText(
            {name, pupilClass, toOleDate(from), toOleDate(from.addSecs(40 * 60)), mails % 20, 3},
            QLocale(QLocale::Czech)));
        written += file.write(mail(mails, coder.GetReportText()) + "\n");
    }
    return mails;
}

QString listPupils(const QString& location)
{
    if (QString failure = bench::emptySchoolDatabase(location); !failure.isEmpty()) {
        return failure;
    }
    std::vector<Profile> pupils;
    for (int i = 0; i < Pupils; ++i) {
        pupils.push_back({surname(i), className(i % Classes)});
    }
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (QString failure = beginWriting(connection.db()); !failure.isEmpty()) {
        return failure;
    }
    if (const PupilsAdded added = addMissingPupils(connection.db(), pupils); !added.ok()) {
        return added.error;
    }
    return commitWriting(connection.db());
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void AMailboxIsDecodedAndMatched(benchmark::State& state)
{
    const QTemporaryDir folder;
    const QString mailbox = folder.filePath(QStringLiteral("posta.mbox"));
    const QString school = folder.filePath(QStringLiteral("skola.sqlite"));
    const int mails = writeMailbox(mailbox);
    if (const QString failure = listPupils(school); !failure.isEmpty() || mails == 0) {
        state.SkipWithError(qPrintable(failure));
        return;
    }
    for (auto _ : state) {
        teacher::MailedReports reports;
        std::vector<Profile> listed;
        QList<teacher::ReportStanding> standings;
        QString failure = reports.addFile(mailbox, mailbox);
        if (failure.isEmpty()) {
            failure = reports.readStandingsAt(school, listed, standings);
        }
        if (!failure.isEmpty()) {
            state.SkipWithError(qPrintable(failure));
            return;
        }
        qsizetype found = 0;
        for (const teacher::ReportStanding& standing : standings) {
            found += standing.owner.found == teacher::ReportOwner::Found::ListedPupil;
        }
        state.counters["reports"] = static_cast<double>(standings.size());
        state.counters["listed"] = static_cast<double>(found);
    }
    state.counters["mails"] = mails;
    state.counters["MB"] = static_cast<double>(QFileInfo(mailbox).size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(AMailboxIsDecodedAndMatched)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
