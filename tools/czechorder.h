#pragma once

#include "school/classname.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace voltmetr::teacher {

// Pupils as a Czech teacher looks them up: by class (by year, then letter), then by surname, in
// Czech alphabetical order ("Č" after "C", "Ch" after "H").
// The class is the member pupilClass unless another is named.
template <typename Pupils, typename ClassMember>
void sortByClassThenSurname(Pupils& pupils, ClassMember classOf)
{
    // Each class is ranked once and each surname given its collation key once: a school's
    // thousands of pupils compared by collation would take tens of thousands of comparisons.
    std::map<QString, int, ClassNameOrder> classRanks;
    for (const auto& pupil : pupils) {
        classRanks.emplace(std::invoke(classOf, pupil), 0);
    }
    int rank = 0;
    for (auto& entry : classRanks) {
        entry.second = rank++;
    }
    const QCollator czech{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    struct Keyed
    {
        int classRank;
        QCollatorSortKey surname;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<std::size_t>(pupils.size()));
    for (qsizetype i = 0; i < static_cast<qsizetype>(pupils.size()); ++i) {
        const auto& pupil = pupils[static_cast<std::size_t>(i)];
        keyed.push_back(
            {classRanks.at(std::invoke(classOf, pupil)), czech.sortKey(pupil.surname), i});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.classRank != b.classRank ? a.classRank < b.classRank
                                          : a.surname.compare(b.surname) < 0;
    });
    Pupils sorted;
    sorted.reserve(pupils.size());
    for (const Keyed& entry : keyed) {
        sorted.push_back(std::move(pupils[static_cast<std::size_t>(entry.index)]));
    }
    pupils = std::move(sorted);
}

template <typename Pupils> void sortByClassThenSurname(Pupils& pupils)
{
    sortByClassThenSurname(pupils, &Pupils::value_type::pupilClass);
}

// A name as compared with no regard to capitals, accents or blanks: "  Horák " and "HORAK" read
// "horak".
inline QString plainName(const QString& name)
{
    QString plain;
    for (const QChar c : name.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.category() != QChar::Mark_NonSpacing) {
            plain += c;
        }
    }
    return plain.simplified();
}

} // namespace voltmetr::teacher
