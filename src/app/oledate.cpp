#include "app/oledate.h"

#include <cmath>

namespace voltmetr {

namespace {
constexpr double msPerDay = 86'400'000.0;
const QDate epoch(1899, 12, 30);
} // namespace

double toOleDate(const QDateTime& dateTime)
{
    const double days = static_cast<double>(epoch.daysTo(dateTime.date()));
    return days + dateTime.time().msecsSinceStartOfDay() / msPerDay;
}

QDateTime fromOleDate(double value)
{
    double days = std::floor(value);
    auto ms = static_cast<qint64>(std::llround((value - days) * msPerDay));
    if (ms >= static_cast<qint64>(msPerDay)) { // a fraction that rounds up to the next midnight
        days += 1;
        ms = 0;
    }
    return QDateTime(epoch.addDays(static_cast<qint64>(days)),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

double oleDatePart(double value)
{
    return std::floor(value);
}

double oleTimePart(double value)
{
    return value - std::floor(value);
}

} // namespace voltmetr
