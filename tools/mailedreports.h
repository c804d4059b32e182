#pragma once

#include "reportowner.h"
#include "reportscan.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace voltmetr::teacher {

// Whether a report's run is in the school database already.
enum class ReportState
{
    ToStore,
    Stored,   // the report itself was stored before
    RunStored // its run was: the pupils' program stored it itself
};

// Whose a report is and whether it is stored, as the school database stands.
struct ReportStanding
{
    ReportOwner owner;
    bool assigned = false; // by the teacher, not by the list
    bool newPupil = false; // to be added to the list, as the teacher said, under its signed name
    ReportState state = ReportState::ToStore;
};

// What storing came to.
struct ReportsStored
{
    int added = 0;
    int present = 0;    // the report was stored before
    int runPresent = 0; // its run was
    int waiting = 0;    // left until the teacher says whose they are
    QStringList notes;  // for the teacher: whom the reports stored were stored under, once each
};

// The pupils' reports in what the teacher hands over at once (saved mails, mailboxes, texts),
// for the command and the window alike: each report found once however often it is handed over,
// whose it is among the listed pupils or by the teacher's word, whether it is stored, and the
// chosen ones stored once however often the teacher stores them.
class MailedReports
{
public:
    // How a report that fits no listed pupil, or several, is stored while the teacher has not
    // said whose it is.
    enum class Unassigned
    {
        UnderSignedName, // under the name and the class it is signed with
        Left             // not at all
    };

    // Scans the bytes of a file the teacher recognises by name. Empty when a report was found,
    // whole or damaged; else the Czech reason for the teacher, starting with the name.
    QString addSource(const QString& name, const QByteArray& bytes);
    // The same with the file at path, read whole, which the teacher recognises by name.
    QString addFile(const QString& path, const QString& name);

    const ReportScan& scan() const { return m_scan; }
    const QList<ScannedReport>& reports() const { return m_scan.reports(); }

    // The teacher's word on whose the report at index is: a listed pupil's, or that of a new
    // pupil named as the report is signed, in its class unified, added to the list when stored.
    void assign(qsizetype report, const Profile& listedPupil);
    void addAsNewPupil(qsizetype report);

    // Reads the listed pupils and the standing of every report. Empty on success, else the
    // reason.
    QString readStandings(QSqlDatabase& db, std::vector<Profile>& listed,
                          QList<ReportStanding>& standings) const;
    // readStandings of the school database at location, opened for reading and closed again.
    // Empty on success, else the teacher's Czech reason.
    QString readStandingsAt(const QString& location, std::vector<Profile>& listed,
                            QList<ReportStanding>& standings) const;

    // Stores the reports at the indexes chosen that are not stored yet, inside the caller's
    // transaction. Empty on success, else the reason.
    QString store(QSqlDatabase& db, const QList<qsizetype>& chosen, Unassigned unassigned,
                  ReportsStored& stored) const;
    // store into the school database at location in a write of its own: all of them or none.
    // Empty on success, else the teacher's Czech reason.
    QString storeAt(const QString& location, const QList<qsizetype>& chosen, Unassigned unassigned,
                    ReportsStored& stored) const;

    // Every report's index, to store them all.
    QList<qsizetype> all() const;

private:
    ReportOwner ownerOf(qsizetype report, const ListedPupils& pupils) const;
    // Whether the teacher assigned the report to a listed pupil, or (toListedPupil false) to a
    // new one.
    bool isAssigned(qsizetype report, bool toListedPupil) const;
    // Whether the report goes to a new pupil not listed yet.
    bool isNewPupil(qsizetype report, const ListedPupils& pupils) const;

    ReportScan m_scan;
    // By report index: the listed pupil the teacher chose, or none for a new pupil.
    QHash<qsizetype, std::optional<Profile>> m_assigned;
};

} // namespace voltmetr::teacher
