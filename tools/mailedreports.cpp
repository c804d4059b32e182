#include "mailedreports.h"

#include "app/filewrite.h"
#include "app/oledate.h"
#include "mailreports.h"
#include "report/reportkey.h"
#include "school/pupilstore.h"
#include "school/resultsstore.h"
#include "school/runstore.h"
#include "school/schoolschema.h"
#include "school/storedreports.h"
#include "schoolconnection.h"
#include "textfile.h"

#include <QFile>
#include <QSqlRecord>
#include <cerrno>

namespace voltmetr::teacher {

namespace {

// What "Prihlasenjako" holds for a run stored from a report: no login name looks like it.
const QString reportLogin = QStringLiteral("(zpráva e-mailem)");

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

// Whether the report (among the identities of those stored), or its run under owner, is in the
// database. A run on a day no calendar has is not.
QString readState(QSqlDatabase& db, const QSet<QString>& storedReports, const ScannedReport& report,
                  const Profile& owner, ReportState& state)
{
    if (storedReports.contains(QString::fromLatin1(report.identity))) {
        state = ReportState::Stored;
        return {};
    }
    bool present = false;
    QString failure;
    if (const std::optional<ResultRow> run = runOf(report.fields, owner)) {
        failure = readRunStored(db, *run, present);
    }
    state = present ? ReportState::RunStored : ReportState::ToStore;
    return failure;
}

// The listed pupils and the identities of the reports stored before; none where the table of
// stored reports is still missing.
QString readListedAndStored(QSqlDatabase& db, std::vector<Profile>& listed,
                            QSet<QString>& storedReports)
{
    if (QString failure = readProfiles(db, listed); !failure.isEmpty()) {
        return failure;
    }
    if (db.record(QString::fromLatin1(StoredReportsTable)).isEmpty()) {
        return {};
    }
    return readStoredReports(db, storedReports);
}

} // namespace

QString MailedReports::addSource(const QString& name, const QByteArray& bytes)
{
    if (bytes.trimmed().isEmpty()) {
        return QStringLiteral("%1: soubor je prázdný.").arg(name);
    }
    if (bytes.contains('\0') && !readUtf16(bytes)) {
        return QStringLiteral("%1: není textový soubor, zprávu v něm nelze hledat.").arg(name);
    }
    const qsizetype reportsBefore = m_scan.reports().size();
    const qsizetype notesBefore = m_scan.notes().size();
    scanMailOrText(m_scan, bytes, name);
    if (m_scan.reports().size() == reportsBefore && m_scan.notes().size() == notesBefore) {
        return QStringLiteral("%1: žádná zpráva od žáka v něm není.").arg(name);
    }
    return {};
}

QString MailedReports::addFile(const QString& path, const QString& name)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("%1: soubor nelze otevřít: %2")
            .arg(name, fileFailureReason(file, errno));
    }
    return addSource(name, file.readAll());
}

void MailedReports::assign(qsizetype report, const Profile& listedPupil)
{
    m_assigned.insert(report, listedPupil);
}

void MailedReports::addAsNewPupil(qsizetype report)
{
    m_assigned.insert(report, std::nullopt);
}

QList<qsizetype> MailedReports::all() const
{
    QList<qsizetype> indexes;
    for (qsizetype i = 0; i < reports().size(); ++i) {
        indexes << i;
    }
    return indexes;
}

ReportOwner MailedReports::ownerOf(qsizetype report, const ListedPupils& pupils) const
{
    if (isAssigned(report, true)) {
        return {ReportOwner::Found::ListedPupil, *m_assigned.value(report), {}};
    }
    const ReportFields& fields = reports().at(report).fields;
    return pupils.ownerOf(fields.pupilName, fields.pupilClass);
}

bool MailedReports::isAssigned(qsizetype report, bool toListedPupil) const
{
    const auto assigned = m_assigned.constFind(report);
    return assigned != m_assigned.cend() && assigned->has_value() == toListedPupil;
}

bool MailedReports::isNewPupil(qsizetype report, const ListedPupils& pupils) const
{
    return isAssigned(report, false) &&
           ownerOf(report, pupils).found != ReportOwner::Found::ListedPupil;
}

QString MailedReports::readStandings(QSqlDatabase& db, std::vector<Profile>& listed,
                                     QList<ReportStanding>& standings) const
{
    listed.clear();
    standings.clear();
    QSet<QString> storedReports;
    if (QString failure = readListedAndStored(db, listed, storedReports); !failure.isEmpty()) {
        return failure;
    }
    const ListedPupils pupils(listed);
    for (qsizetype i = 0; i < reports().size(); ++i) {
        ReportStanding standing{ownerOf(i, pupils), isAssigned(i, true), isNewPupil(i, pupils)};
        if (QString failure =
                readState(db, storedReports, reports()[i], standing.owner.storedAs, standing.state);
            !failure.isEmpty()) {
            return QStringLiteral("%1: %2").arg(reports()[i].where, failure);
        }
        standings << standing;
    }
    return {};
}

QString MailedReports::readStandingsAt(const QString& location, std::vector<Profile>& listed,
                                       QList<ReportStanding>& standings) const
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    if (QString problem = schoolDatabaseProblem(location, connection); !problem.isEmpty()) {
        return problem;
    }
    if (QString failure = readStandings(connection.db(), listed, standings); !failure.isEmpty()) {
        return databaseFailure(QStringLiteral("Čtení uložených zpráv"), failure);
    }
    return {};
}

// A report of a run already in the database is not stored again: a save whose outcome the
// pupils' program could not learn was often stored after all, and the program handed out a
// report of it too.
QString MailedReports::store(QSqlDatabase& db, const QList<qsizetype>& chosen,
                             Unassigned unassigned, ReportsStored& stored) const
{
    if (QString failure = ensureStoredReportsTable(db); !failure.isEmpty()) {
        return failure;
    }
    std::vector<Profile> listed;
    QSet<QString> storedReports;
    if (QString failure = readListedAndStored(db, listed, storedReports); !failure.isEmpty()) {
        return failure;
    }
    const ListedPupils pupils(listed);
    for (const qsizetype index : chosen) {
        const ScannedReport& report = reports().at(index);
        const ReportOwner owner = ownerOf(index, pupils);
        const bool newPupil = isNewPupil(index, pupils);
        ReportState state = ReportState::ToStore;
        if (QString failure = readState(db, storedReports, report, owner.storedAs, state);
            !failure.isEmpty()) {
            return QStringLiteral("%1: %2").arg(report.where, failure);
        }
        if (state != ReportState::ToStore) {
            ++(state == ReportState::Stored ? stored.present : stored.runPresent);
            continue;
        }
        if (owner.found != ReportOwner::Found::ListedPupil && !newPupil &&
            unassigned == Unassigned::Left) {
            ++stored.waiting;
            continue;
        }
        const std::optional<ResultRow> run = runOf(report.fields, owner.storedAs);
        if (!run) {
            return QStringLiteral("%1: den „%2“ nebo „%3“ v kalendáři není")
                .arg(report.where, report.fields.from, report.fields.to);
        }
        if (newPupil) {
            if (const PupilsAdded added = addMissingPupils(db, {owner.storedAs}); !added.ok()) {
                return QStringLiteral("%1: %2").arg(report.where, added.error);
            }
        }
        qint64 runId = 0; // a report brings no task log to tie to its run
        if (QString failure = insertResultRow(db, *run, runId); !failure.isEmpty()) {
            return QStringLiteral("%1: %2").arg(report.where, failure);
        }
        if (QString failure = rememberStoredReport(db, QString::fromLatin1(report.identity));
            !failure.isEmpty()) {
            return failure;
        }
        ++stored.added;
        noteOwner(report, owner, stored.notes);
    }
    return {};
}

QString MailedReports::storeAt(const QString& location, const QList<qsizetype>& chosen,
                               Unassigned unassigned, ReportsStored& stored) const
{
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (QString problem = schoolDatabaseProblem(location, connection); !problem.isEmpty()) {
        return problem;
    }
    QSqlDatabase& db = connection.db();
    // Pupils may be storing their runs meanwhile: this waits its turn as their saves do.
    if (const QString failure = beginWriting(db); !failure.isEmpty()) {
        return databaseFailure(QStringLiteral("Zahájení zápisu"), failure);
    }
    QString failure = store(db, chosen, unassigned, stored);
    if (failure.isEmpty()) {
        failure = commitWriting(db);
    }
    if (!failure.isEmpty()) {
        rollBackWriting(db); // a failure of its own is logged; the first one is the reason
        stored = {};
        return databaseFailure(
            QStringLiteral("Uložení zpráv do %1 (neuložena žádná)").arg(location), failure);
    }
    return {};
}

} // namespace voltmetr::teacher
