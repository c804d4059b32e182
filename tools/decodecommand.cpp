#include "app/filewrite.h"
#include "app/oledate.h"
#include "csvtable.h"
#include "mailreports.h"
#include "report/reportkey.h"
#include "reportowner.h"
#include "school/failurereason.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "school/runstore.h"
#include "school/schoolschema.h"
#include "school/storedreports.h"
#include "schoolconnection.h"
#include "teachertool.h"
#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>

namespace voltmetr::teacher {

namespace {

// What "Prihlasenjako" holds for a run stored from a report: no login name looks like it.
const QString reportLogin = QStringLiteral("(zpráva e-mailem)");

struct Source
{
    QString name; // as the teacher will recognise it in a message
    QByteArray bytes;
};

std::optional<QString> readSource(const QString& path, Console& console, Source& source)
{
    if (path == QStringLiteral("-")) {
        source = {QStringLiteral("(standardní vstup)"), console.in.readAll()};
        return std::nullopt;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("%1: soubor nelze otevřít: %2")
            .arg(path, fileFailureReason(file, errno));
    }
    source = {path, file.readAll()};
    return std::nullopt;
}

// Why the source holds nothing to search, or nothing.
std::optional<QString> unreadable(const Source& source)
{
    if (source.bytes.trimmed().isEmpty()) {
        return QStringLiteral("%1: soubor je prázdný.").arg(source.name);
    }
    if (source.bytes.contains('\0') && !readUtf16(source.bytes)) {
        return QStringLiteral("%1: není textový soubor, zprávu v něm nelze hledat.")
            .arg(source.name);
    }
    return std::nullopt;
}

// The run a report tells of, as the pupils' program would have stored it for the pupil.
std::optional<ResultRow> runOf(const ReportFields& fields, const Profile& pupil)
{
    const auto from = reportDateTime(fields.from);
    const auto to = reportDateTime(fields.to);
    if (!from || !to) {
        return std::nullopt;
    }
    const double end = toOleDate(*to);
    return ResultRow{pupil.surname,
                     pupil.className,
                     fields.right,
                     fields.wrong,
                     oleTimePart(toOleDate(*from)),
                     oleTimePart(end),
                     oleDatePart(end),
                     reportLogin,
                     ExerciseTypeCode};
}

struct Stored
{
    int added = 0;
    int present = 0;    // the report was stored before
    int runPresent = 0; // its run was: the pupils' program stored it itself
    QStringList notes;  // for the teacher: whom the reports stored were stored under, once each
};

// What the teacher should know of a report stored under owner: a class or a name that became
// another, a report that belongs to no listed pupil or to which of several.
void noteOwner(const ScannedReport& report, const ReportOwner& owner, QStringList& notes)
{
    const ReportFields& fields = report.fields;
    QStringList told;
    if (owner.storedAs.className != fields.pupilClass) {
        told << QStringLiteral("Třída „%1“ ze zprávy je uložena jako „%2“.")
                    .arg(fields.pupilClass, owner.storedAs.className);
    }
    QStringList fitting;
    for (const Profile& pupil : owner.fitting) {
        fitting << pupil.surname;
    }
    switch (owner.found) {
    case ReportOwner::Found::ListedPupil:
        if (owner.storedAs.surname != fields.pupilName) {
            told << QStringLiteral("„%1“ ze třídy %2 je ze seznamu žák „%3“; výsledky ze "
                                   "zprávy jsou uloženy k němu.")
                        .arg(fields.pupilName, owner.storedAs.className, owner.storedAs.surname);
        }
        break;
    case ReportOwner::Found::SeveralFit:
        told << QStringLiteral("%1: „%2“ ze třídy %3 může být %4 ze seznamu; zpráva je uložena "
                               "pod jménem ze zprávy (k žákovi ze seznamu ji převede sluc).")
                    .arg(report.where, fields.pupilName, owner.storedAs.className,
                         fitting.join(QStringLiteral(" nebo ")));
        break;
    case ReportOwner::Found::NoneFits:
        told << QStringLiteral("%1: „%2“ ze třídy %3 v seznamu žáků není; zpráva je uložena "
                               "pod jménem ze zprávy (k žákovi ze seznamu ji převede sluc).")
                    .arg(report.where, fields.pupilName, owner.storedAs.className);
        break;
    }
    for (const QString& line : told) {
        if (!notes.contains(line)) {
            notes << line;
        }
    }
}

// Stores each report not stored before as a run, all of them or none, each with its identity.
// A report of a run already in the database is not stored again: a save whose outcome the
// pupils' program could not learn was often stored after all, and the program handed out a
// report of it too.
std::optional<QString> storeReports(QSqlDatabase& db, const QList<ScannedReport>& reports,
                                    Stored& stored)
{
    if (const QString failure = ensureStoredReportsTable(db); !failure.isEmpty()) {
        return failure;
    }
    std::vector<Profile> listed;
    if (const QString failure = readProfiles(db, listed); !failure.isEmpty()) {
        return failure;
    }
    const ListedPupils pupils(listed);
    for (const ScannedReport& report : reports) {
        const QString identity = QString::fromLatin1(report.identity);
        bool present = false;
        if (const QString failure = readReportStored(db, identity, present); !failure.isEmpty()) {
            return failure;
        }
        if (present) {
            ++stored.present;
            continue;
        }
        const ReportOwner owner = pupils.ownerOf(report.fields.pupilName, report.fields.pupilClass);
        const auto run = runOf(report.fields, owner.storedAs);
        if (!run) {
            return QStringLiteral("%1: den „%2“ nebo „%3“ v kalendáři není")
                .arg(report.where, report.fields.from, report.fields.to);
        }
        bool runStored = false;
        if (const QString failure = readRunStored(db, *run, runStored); !failure.isEmpty()) {
            return QStringLiteral("%1: %2").arg(report.where, failure);
        }
        if (runStored) {
            ++stored.runPresent;
            continue;
        }
        qint64 runId = 0; // a report brings no task log to tie to its run
        if (const QString failure = insertResultRow(db, *run, runId); !failure.isEmpty()) {
            return QStringLiteral("%1: %2").arg(report.where, failure);
        }
        if (const QString failure = rememberStoredReport(db, identity); !failure.isEmpty()) {
            return failure;
        }
        ++stored.added;
        noteOwner(report, owner, stored.notes);
    }
    return std::nullopt;
}

int storeIntoDatabase(const QString& location, const QList<ScannedReport>& reports,
                      Console& console)
{
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (const QString problem = schoolDatabaseProblem(location, connection); !problem.isEmpty()) {
        return console.fail(problem);
    }
    QSqlDatabase& db = connection.db();
    // Pupils may be storing their runs meanwhile: this waits its turn as their saves do.
    if (const QString failure = beginWriting(db); !failure.isEmpty()) {
        return console.fail(databaseFailure(QStringLiteral("Zahájení zápisu"), failure));
    }
    Stored stored;
    std::optional<QString> failure = storeReports(db, reports, stored);
    if (!failure) {
        if (const QString commit = commitWriting(db); !commit.isEmpty()) {
            failure = commit;
        }
    }
    if (failure) {
        rollBackWriting(db); // a failure of its own is logged; the first one is the reason
        return console.fail(databaseFailure(
            QStringLiteral("Uložení zpráv do %1 (neuložena žádná)").arg(location), *failure));
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

    ReportScan scan;
    int unreadSources = 0;
    for (const QString& path : paths) {
        Source source;
        std::optional<QString> failure = readSource(path, console, source);
        if (!failure) {
            failure = unreadable(source);
        }
        if (failure) {
            console.err << *failure << Qt::endl;
            ++unreadSources;
            continue;
        }
        const qsizetype reportsBefore = scan.reports().size();
        const qsizetype notesBefore = scan.notes().size();
        scanMailOrText(scan, source.bytes, source.name);
        if (scan.reports().size() == reportsBefore && scan.notes().size() == notesBefore) {
            console.err << QStringLiteral("%1: žádná zpráva od žáka v něm není.").arg(source.name)
                        << Qt::endl;
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
        if (const int stored = storeIntoDatabase(request.databasePath, scan.reports(), console);
            stored != Console::ExitSuccess) {
            return stored;
        }
    }
    return unread == 0 ? Console::ExitSuccess : Console::ExitFailure;
}

} // namespace voltmetr::teacher
