#pragma once

#include <QLocale>
#include <QString>

namespace voltmetr {

// The caption of a range label: the shortest decimal text that reads back as the same 32-bit
// value, with the decimal separator of locale, so 0.6 shows as "0,6" on a Czech system
// rather than as the double the float widens to.
QString rangeCaption(float volts, const QLocale& locale);

} // namespace voltmetr
