#include "app/oledate.h"

#include <gtest/gtest.h>
#include <tuple>

namespace voltmetr {
namespace {

// Days since 30 December 1899 with the time of day as the fraction, kept to the nearest
// millisecond: only the last half millisecond of a day rounds up to the next midnight.
// 6 December 2026 is day 46362; a day has 86,400,000 ms.
TEST(OleDate, DaysSince1899AndTheTimeOfDayToTheMillisecond)
{
    constexpr double ms = 1.0 / 86'400'000;
    // name; value; the date-time it stands for; whether it is also the value of that date-time
    for (const auto& [name, value, shown, exact] : {
             std::tuple{"the epoch", 0.0, "30.12.1899 00:00:00.000", true},
             std::tuple{"23:59:59.6", 46362 + 86'399'600 * ms, "06.12.2026 23:59:59.600", true},
             std::tuple{"23:59:59.9996 rounds up into the next day", 46362 + 86'399'999.6 * ms,
                        "07.12.2026 00:00:00.000", false},
         }) {
        const QDateTime dateTime = fromOleDate(value);
        EXPECT_EQ(dateTime.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz")).toStdString(), shown)
            << name;
        if (exact) {
            EXPECT_NEAR(toOleDate(dateTime), value, 1e-12) << name;
        }
    }
}

} // namespace
} // namespace voltmetr
