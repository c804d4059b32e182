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

ReportOwner ownerOfReport(const QString& name, const QString& pupilClass,
                          const std::vector<Profile>& listed)
{
    const QString unifiedClass = unifiedClassName(pupilClass);
    const QStringList words = wordsOf(name);
    int best = 0;
    std::vector<Profile> fitting;
    for (const Profile& pupil : listed) {
        if (unifiedClassName(pupil.className) != unifiedClass) {
            continue;
        }
        const int howWell = fit(words, wordsOf(pupil.surname));
        if (howWell > best) {
            best = howWell;
            fitting.clear();
        }
        // A pupil listed twice is still one pupil.
        if (howWell == best && howWell > 0 &&
            std::find(fitting.begin(), fitting.end(), pupil) == fitting.end()) {
            fitting.push_back(pupil);
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
