#pragma once

#include "school/classname.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <functional>

namespace voltmetr::teacher {

// Pupils as a Czech teacher looks them up: by class (by year, then letter), then by surname, in
// Czech alphabetical order ("Č" after "C", "Ch" after "H").
// The class is the member pupilClass unless another is named.
template <typename Pupils, typename ClassMember>
void sortByClassThenSurname(Pupils& pupils, ClassMember classOf)
{
    const QCollator czech{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    const ClassNameOrder classOrder;
    std::sort(pupils.begin(), pupils.end(), [&](const auto& a, const auto& b) {
        const QString& classA = std::invoke(classOf, a);
        const QString& classB = std::invoke(classOf, b);
        if (classOrder(classA, classB) || classOrder(classB, classA)) {
            return classOrder(classA, classB);
        }
        return czech.compare(a.surname, b.surname) < 0;
    });
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
