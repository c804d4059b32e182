#pragma once

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <functional>

namespace voltmetr::teacher {

// Pupils as a Czech teacher looks them up: by class, then by surname, in Czech alphabetical
// order ("Č" after "C", "Ch" after "H").
// The class is the member pupilClass unless another is named.
template <typename Pupils, typename ClassMember>
void sortByClassThenSurname(Pupils& pupils, ClassMember classOf)
{
    const QCollator czech{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    std::sort(pupils.begin(), pupils.end(), [&](const auto& a, const auto& b) {
        if (const int byClass = czech.compare(std::invoke(classOf, a), std::invoke(classOf, b));
            byClass != 0) {
            return byClass < 0;
        }
        return czech.compare(a.surname, b.surname) < 0;
    });
}

template <typename Pupils> void sortByClassThenSurname(Pupils& pupils)
{
    sortByClassThenSurname(pupils, &Pupils::value_type::pupilClass);
}

} // namespace voltmetr::teacher
