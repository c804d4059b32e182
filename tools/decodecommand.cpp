#include "app/filewrite.h"
#include "csvtable.h"
#include "mailedreports.h"
#include "teachertool.h"

#include <QFileInfo>

namespace voltmetr::teacher {

namespace {

// Stores every report under its listed pupil, or under the name it is signed with, and tells
// the teacher what became of them.
int storeIntoDatabase(const QString& location, const MailedReports& mail, Console& console)
{
    ReportsStored stored;
    if (const QString failure =
            mail.storeAt(location, mail.all(), MailedReports::Unassigned::UnderSignedName, stored);
        !failure.isEmpty()) {
        return console.fail(failure);
    }
    for (const QString& note : stored.notes) {
        console.out << note << Qt::endl;
    }
    console.out << QStringLiteral("Uloženo výsledků do databáze: %1, už tam bylo: %2, běh už "
                                  "uložil program žáka: %3.")
                       .arg(stored.added)
                       .arg(stored.present)
                       .arg(stored.runPresent)
                << Qt::endl;
    return Console::ExitSuccess;
}

} // namespace

int decodeReports(const Request& request, Console& console)
{
    const QStringList paths =
        request.files.isEmpty() ? QStringList{QStringLiteral("-")} : request.files;
    // Refuse an unwritable table before any work, so that nothing is decoded in vain.
    if (!request.csvPath.isEmpty()) {
        const QFileInfo target(request.csvPath);
        const QFileInfo folder(target.absolutePath());
        if (target.isDir() || !folder.isDir() || !folder.isWritable()) {
            return console.fail(
                QStringLiteral("Soubor %1 nelze zapsat: složka neexistuje nebo do ní nelze psát.")
                    .arg(request.csvPath));
        }
    }

    MailedReports mail;
    const ReportScan& scan = mail.scan();
    int unreadSources = 0;
    for (const QString& path : paths) {
        const qsizetype reportsBefore = scan.reports().size();
        const qsizetype notesBefore = scan.notes().size();
        const QString failure =
            path == QStringLiteral("-")
                ? mail.addSource(QStringLiteral("(standardní vstup)"), console.in.readAll())
                : mail.addFile(path, path);
        if (!failure.isEmpty()) {
            console.err << failure << Qt::endl;
            ++unreadSources;
            continue;
        }
        for (const ReportNote& note : scan.notes().sliced(notesBefore)) {
            console.err << QStringLiteral("%1: %2").arg(note.where, note.text) << Qt::endl;
        }
        for (const ScannedReport& report : scan.reports().sliced(reportsBefore)) {
            console.out
                << QStringLiteral("== %1 ==").arg(report.where) << Qt::endl
                << QString(report.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                << Qt::endl;
        }
    }

    if (!request.csvPath.isEmpty()) {
        CsvTable table({QStringLiteral("Jméno"), QStringLiteral("Třída"), QStringLiteral("Od"),
                        QStringLiteral("Do"), QStringLiteral("Celkem"), QStringLiteral("Dobře"),
                        QStringLiteral("Špatně")});
        for (const ScannedReport& report : scan.reports()) {
            const ReportFields& fields = report.fields;
            table.addRow({fields.pupilName, fields.pupilClass, fields.from, fields.to,
                          QString::number(fields.total), QString::number(fields.right),
                          QString::number(fields.wrong)});
        }
        if (const QString failure = writeTableFile(request.csvPath, table); !failure.isEmpty()) {
            return console.fail(failure);
        }
    }
    const int unread = unreadSources + scan.damaged();
    console.out << QStringLiteral("Dekódováno zpráv: %1, nepřečteno: %2.")
                       .arg(scan.reports().size())
                       .arg(unread)
                << Qt::endl;
    if (request.store && !scan.reports().isEmpty()) {
        if (const int stored = storeIntoDatabase(request.databasePath, mail, console);
            stored != Console::ExitSuccess) {
            return stored;
        }
    }
    return unread == 0 ? Console::ExitSuccess : Console::ExitFailure;
}

} // namespace voltmetr::teacher
