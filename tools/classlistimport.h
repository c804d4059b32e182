#pragma once

#include "classlist.h"
#include "school/pupilstore.h"

#include <QList>
#include <QString>
#include <vector>

namespace voltmetr::teacher {

// What adding a class list to the school database at location would come to, read without
// writing a thing: the pupils it would add and those listed already, each in the list's order.
struct ClassListPreview
{
    QList<ClassListPupil> added;
    QList<ClassListPupil> present;
    QString error; // the teacher's Czech reason when the database cannot be used or read
};

// The pupils of the class list at location, by class, then by surname; empty, with the teacher's
// Czech reason in failure, when the database cannot be used or read.
std::vector<Profile> readListedPupilsAt(const QString& location, QString& failure);

ClassListPreview previewClassListAt(const QString& location, const ClassList& list);

// Adds the pupils of the list whom the school database at location does not list yet: the whole
// list or nothing, as a half-imported class would be imported twice after a fix. Pupils may be
// storing results meanwhile: it waits its turn as their saves do. On failure error holds the
// teacher's Czech reason.
PupilsAdded addClassListAt(const QString& location, const ClassList& list);

} // namespace voltmetr::teacher
