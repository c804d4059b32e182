#include "reportowner.h"

#include "czechorder.h"
#include "school/classname.h"

#include <QStringList>
#include <algorithm>

namespace voltmetr::teacher {

namespace {

QStringList wordsOf(const QString& name)
{
    return plainName(name).split(u' ', Qt::SkipEmptyParts);
}

// How well a listed surname fits the words of a name: 2 when it is the whole name, 1 when a first
// name stands before or after it, 0 when it does not fit.
int fit(const QStringList& name, const QStringList& surname)
{
    if (surname.isEmpty()) {
        return 0;
    }
    if (name == surname) {
        return 2;
    }
    const qsizetype extra = name.size() - surname.size();
    return extra > 0 && (name.first(surname.size()) == surname || name.sliced(extra) == surname)
               ? 1
               : 0;
}

} // namespace

ListedPupils::ListedPupils(const std::vector<Profile>& listed)
{
    for (const Profile& pupil : listed) {
        std::vector<Listed>& inClass = m_byClass[unifiedClassName(pupil.className)];
        // A pupil listed twice is still one pupil.
        if (std::none_of(inClass.begin(), inClass.end(),
                         [&](const Listed& other) { return other.pupil == pupil; })) {
            inClass.push_back({pupil, wordsOf(pupil.surname)});
        }
    }
}

ReportOwner ListedPupils::ownerOf(const QString& name, const QString& pupilClass) const
{
    const QString unifiedClass = unifiedClassName(pupilClass);
    const QStringList words = wordsOf(name);
    int best = 0;
    std::vector<Profile> fitting;
    for (const Listed& listed : m_byClass.value(unifiedClass)) {
        const int howWell = fit(words, listed.words);
        if (howWell > best) {
            best = howWell;
            fitting.clear();
        }
        if (howWell == best && howWell > 0) {
            fitting.push_back(listed.pupil);
        }
    }
    if (fitting.size() == 1) {
        return {ReportOwner::Found::ListedPupil, fitting.front(), {}};
    }
    return {fitting.empty() ? ReportOwner::Found::NoneFits : ReportOwner::Found::SeveralFit,
            {name, unifiedClass},
            fitting};
}

} // namespace voltmetr::teacher
