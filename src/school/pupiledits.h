#pragma once

#include "school/profile.h"

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace voltmetr {

// The changes a teacher makes to the pupils: a pupil renamed or moved to another class, a mailed
// name merged into a listed pupil, a wrongly imported pupil taken off the list. A pupil is a
// surname and a class, in the class list ("Zaci") and on every run ("Prehled "); each change
// moves both in one transaction, so that no run is left behind under a name by accident.

struct PupilEdit
{
    qint64 runs = 0; // the runs moved, or on a removal the runs that stay under the name
    QString error;   // Czech; nothing was changed
    // A rename refused because the new name is listed already: what the teacher may have meant
    // is a merge, which the command line and the window each offer in their own words.
    bool mergeInstead = false;

    bool ok() const { return error.isEmpty(); }
};

// Renames a pupil, or moves one to another class, with every run stored under the old name.
// Refused, with mergeInstead, when the new name is listed already: that is a merge.
PupilEdit renamePupil(QSqlDatabase& db, const Profile& from, const Profile& to);

// Merges `from` (a name a mailed report was stored under, or a pupil listed twice) into the
// listed pupil `into`: the runs go to `into`, and `from` leaves the list.
PupilEdit mergePupils(QSqlDatabase& db, const Profile& from, const Profile& into);

// Takes a pupil off the list; the runs stay under the name (merge them first to keep them with
// another pupil).
PupilEdit removePupil(QSqlDatabase& db, const Profile& who);

// A pupil whose class was stored written otherwise than one way ("3A"), put under the class
// written one way ("3.A"): renamed, or merged into the pupil listed so already.
struct ClassUnified
{
    Profile from;
    Profile to;
    bool merged = false;
    PupilEdit edit;
};

// Gives every pupil of the list and every name with runs whose class is not written one way
// (unifiedClassName) that class, each pupil in a write of his own, so that a database from before
// the classes were written one way has one class where it had two. Stops at the first failure,
// which is the last entry's edit error; empty when every class is written one way already.
std::vector<ClassUnified> unifyClassNames(QSqlDatabase& db);

// "Novák (2.B)", as the changes name a pupil.
QString pupilName(const Profile& pupil);

} // namespace voltmetr
