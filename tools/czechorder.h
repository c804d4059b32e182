#pragma once

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace voltmetr::teacher {

// Pupils as a Czech teacher looks them up: by class, then by surname, in Czech alphabetical
// order ("Č" after "C", "Ch" after "H").
template <typename Pupils> void sortByClassThenSurname(Pupils& pupils)
{
    const QCollator czech{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    std::sort(pupils.begin(), pupils.end(), [&](const auto& a, const auto& b) {
        if (const int byClass = czech.compare(a.pupilClass, b.pupilClass); byClass != 0) {
            return byClass < 0;
        }
        return czech.compare(a.surname, b.surname) < 0;
    });
}

} // namespace voltmetr::teacher
