#pragma once

#include "school/profile.h"

#include <QSqlDatabase>
#include <QString>

namespace voltmetr {

// The changes a teacher makes to the pupils: a pupil renamed or moved to another class, a mailed
// name merged into a listed pupil, a wrongly imported pupil taken off the list. A pupil is a
// surname and a class, in the class list ("Zaci") and on every run ("Prehled "); each change
// moves both in one transaction, so that no run is left behind under a name by accident.

struct PupilEdit
{
    qint64 runs = 0; // the runs moved, or on a removal the runs that stay under the name
    QString error;   // Czech; nothing was changed

    bool ok() const { return error.isEmpty(); }
};

// Renames a pupil, or moves one to another class, with every run stored under the old name.
// Refused when the new name is listed already: that is a merge.
PupilEdit renamePupil(QSqlDatabase& db, const Profile& from, const Profile& to);

// Merges `from` (a name a mailed report was stored under, or a pupil listed twice) into the
// listed pupil `into`: the runs go to `into`, and `from` leaves the list.
PupilEdit mergePupils(QSqlDatabase& db, const Profile& from, const Profile& into);

// Takes a pupil off the list; the runs stay under the name (merge them first to keep them with
// another pupil).
PupilEdit removePupil(QSqlDatabase& db, const Profile& who);

// "Novák (2.B)", as the changes name a pupil.
QString pupilName(const Profile& pupil);

} // namespace voltmetr
