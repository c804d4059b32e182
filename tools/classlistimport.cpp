#include "classlistimport.h"

#include "czechorder.h"
#include "school/failurereason.h"
#include "schoolconnection.h"

#include <QSet>
#include <QSqlError>
#include <utility>

namespace voltmetr::teacher {

namespace {

std::vector<Profile> profiles(const ClassList& list)
{
    std::vector<Profile> pupils;
    for (const ClassListPupil& pupil : list.pupils) {
        pupils.push_back({pupil.surname, pupil.pupilClass});
    }
    return pupils;
}

} // namespace

std::vector<Profile> readListedPupilsAt(const QString& location, QString& failure)
{
    SchoolConnection connection(location, SchoolConnection::Access::Read);
    std::vector<Profile> listed;
    if (failure = schoolDatabaseProblem(location, connection); failure.isEmpty()) {
        if (const QString reason = readProfiles(connection.db(), listed); !reason.isEmpty()) {
            failure = databaseFailure(QStringLiteral("Čtení seznamu žáků"), reason);
            listed.clear();
        }
    }
    sortByClassThenSurname(listed, &Profile::className);
    return listed;
}

ClassListPreview previewClassListAt(const QString& location, const ClassList& list)
{
    ClassListPreview preview;
    const std::vector<Profile> listed = readListedPupilsAt(location, preview.error);
    if (!preview.error.isEmpty()) {
        return preview;
    }
    // Listed already with this surname and class, as addMissingPupils finds them; a school's
    // whole list is looked up among a school's pupils.
    QSet<std::pair<QString, QString>> names;
    for (const Profile& pupil : listed) {
        names.insert({pupil.surname, pupil.className});
    }
    for (const ClassListPupil& pupil : list.pupils) {
        (names.contains({pupil.surname, pupil.pupilClass}) ? preview.present : preview.added)
            .append(pupil);
    }
    return preview;
}

PupilsAdded addClassListAt(const QString& location, const ClassList& list)
{
    PupilsAdded stored;
    SchoolConnection connection(location, SchoolConnection::Access::Write);
    if (stored.error = schoolDatabaseProblem(location, connection); !stored.ok()) {
        return stored;
    }
    QSqlDatabase& db = connection.db();
    if (const QString failure = beginWriting(db); !failure.isEmpty()) {
        stored.error = databaseFailure(QStringLiteral("Zahájení zápisu"), failure);
        return stored;
    }
    stored = addMissingPupils(db, profiles(list));
    if (!stored.ok()) {
        rollBackWriting(db); // a failure of its own is logged; the first one is the reason
        const QString failure = stored.failedAt < 0 ? stored.error
                                                    : QStringLiteral("žák z řádku %1: %2")
                                                          .arg(list.pupils[stored.failedAt].line)
                                                          .arg(stored.error);
        stored.error = databaseFailure(QStringLiteral("Zápis žáků do %1").arg(location), failure);
        return stored;
    }
    if (!db.commit()) {
        const QString reason = databaseFailureReason(db.lastError());
        db.rollback();
        stored.error = databaseFailure(QStringLiteral("Uložení žáků"), reason);
    }
    return stored;
}

} // namespace voltmetr::teacher
