#pragma once

#include <QLocale>
#include <QString>

namespace voltmetr {

// The caption of a range label: the shortest decimal text that reads back as the same 32-bit
// value, with the decimal separator of locale, so 0.6 shows as "0,6" on a Czech system
// rather than as the double the float widens to.
QString rangeCaption(float volts, const QLocale& locale);

// The number that caption shows, as the nearest double: 0.6 rather than the float's
// 0.60000002. Calculations shown to the pupil start from it.
double rangeValue(float volts);

} // namespace voltmetr
