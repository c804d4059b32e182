#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace voltmetr::teacher {

// The share of right answers as the teacher's outputs show it, in the system's language.

// Right answers of all answers, 0..1; nothing when there was no answer. A destroyed meter is a
// wrong answer, as the pupils' program counts it in the run.
std::optional<double> rightShare(qint64 right, qint64 wrong);

// What the right share means, one sentence for every output that shows it.
QString rightShareDefinition();

// Where the teacher looks first: from four right answers in five on, between, below one in two.
enum class ShareBand
{
    Good,
    Middle,
    Weak
};
ShareBand shareBand(double share);

// The colour of the band, as "#rrggbb": green, orange, red, on the page and in the window alike.
QString shareBandColour(ShareBand band);

// The bands with their bounds, in the order above: "od 80 %", "50 až 80 %", "pod 50 %".
QString shareBandText(ShareBand band, const QLocale& locale);

// A share 0..1 as a percentage with the decimals given: "87,5 %".
QString percentText(double share, const QLocale& locale, int decimals = 1);

// The share of right answers as percentText gives it, "–" when there was no answer.
QString rightShareText(qint64 right, qint64 wrong, const QLocale& locale, int decimals = 1);

} // namespace voltmetr::teacher
