#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace voltmetr::teacher {

// The share of right answers as the teacher's outputs show it, in the system's language.

// Right answers of all answers, 0..1; nothing when there was no answer.
std::optional<double> rightShare(qint64 right, qint64 wrong);

// A share 0..1 as a percentage with the decimals given: "87,5 %".
QString percentText(double share, const QLocale& locale, int decimals = 1);

// The share of right answers as percentText gives it, "–" when there was no answer.
QString rightShareText(qint64 right, qint64 wrong, const QLocale& locale, int decimals = 1);

} // namespace voltmetr::teacher
