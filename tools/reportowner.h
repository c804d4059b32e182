#pragma once

#include "school/profile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace voltmetr::teacher {

// Whom a mailed report belongs to among the pupils the school lists ("Zaci"). A pupil types the
// name and the class into the program as he likes; the run belongs to the listed pupil whose
// surname the name is, alone or with a first name before or after it ("Horák", "Petr Horák",
// "Horák Petr"), in the same class once both are unified, so that it counts with the runs the
// program stored under his profile. Capitals, accents and blanks make no difference ("petr
// horak"). A listed surname that is the whole name comes before one that needs a first name:
// "Horák P." is the pupil listed so, not Horák.
struct ReportOwner
{
    enum class Found
    {
        ListedPupil,
        SeveralFit,
        NoneFits
    };
    Found found = Found::NoneFits;
    // What the run is stored under: the listed pupil's surname and class as listed; else the name
    // the report is signed with, in its class unified.
    Profile storedAs;
    std::vector<Profile> fitting; // the listed pupils who fit equally well, when several do
};

// The pupils of the list, read once and looked up by class for every report of a mailbox.
class ListedPupils
{
public:
    explicit ListedPupils(const std::vector<Profile>& listed);
    ReportOwner ownerOf(const QString& name, const QString& pupilClass) const;

private:
    struct Listed
    {
        Profile pupil;
        QStringList words; // of the surname, compared as plainName compares
    };
    QHash<QString, std::vector<Listed>> m_byClass; // by the class written one way
};

} // namespace voltmetr::teacher
