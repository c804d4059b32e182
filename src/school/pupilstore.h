#pragma once

#include "school/profile.h"

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace voltmetr {

// The pupils of the school in "Zaci", one row per pupil the sign-in lists.

// Every pupil in the order the rows were added; a NULL field reads as empty text. Empty on
// success, else the reason.
QString readProfiles(QSqlDatabase& db, std::vector<Profile>& pupils);

// What adding a class list came to.
struct PupilsAdded
{
    int added = 0;
    int present = 0;         // listed already with this surname and class
    qsizetype failedAt = -1; // the index of the pupil whose statement failed
    QString error;           // its reason; empty when every pupil was checked

    bool ok() const { return error.isEmpty(); }
};

// Adds each pupil that the table does not list with that surname and class yet, inside the
// caller's transaction, stopping at the first failure.
PupilsAdded addMissingPupils(QSqlDatabase& db, const std::vector<Profile>& pupils);

} // namespace voltmetr
