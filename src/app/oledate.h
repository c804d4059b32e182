#pragma once

#include <QDateTime>

namespace voltmetr {

// Date-time values are days since 30 December 1899 as a double, the time of day as the
// fraction (for dates from 1899 on, which is all the program ever meets).

double toOleDate(const QDateTime& dateTime);
QDateTime fromOleDate(double value);

// The whole days of a value (the date at midnight) and its fraction (the time of day).
double oleDatePart(double value);
double oleTimePart(double value);

} // namespace voltmetr
