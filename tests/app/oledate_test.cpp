#include "app/oledate.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace voltmetr {
namespace {

// Days since 30 December 1899 with the time of day as the fraction, kept to the nearest
// millisecond: only the last half millisecond of a day rounds up to the next midnight. Shown
// as hh:mm:ss, the seconds are cut off, so that a time never shows a second the clock had not
// reached. 6 December 2026 is day 46362; a day has 86,400,000 ms.
TEST(OleDate, DaysSince1899AndTheTimeOfDayToTheMillisecond)
{
    constexpr double ms = 1.0 / 86'400'000;
    // name; value; the date-time it stands for; whether it is also the value of that date-time
    for (const auto& [name, value, shown, exact] : {
             std::tuple{"the epoch", 0.0, "30.12.1899 00:00:00.000", true},
             std::tuple{"noon of the next day", 1.5, "31.12.1899 12:00:00.000", true},
             std::tuple{"first of January 2000", 36526.0, "01.01.2000 00:00:00.000", true},
             std::tuple{"six in the morning", 46362.25, "06.12.2026 06:00:00.000", true},
             std::tuple{"23:59:59.6", 46362 + 86'399'600 * ms, "06.12.2026 23:59:59.600", true},
             std::tuple{"23:59:59.9994 rounds down", 46362 + 86'399'999.4 * ms,
                        "06.12.2026 23:59:59.999", false},
             std::tuple{"23:59:59.9996 rounds up into the next day", 46362 + 86'399'999.6 * ms,
                        "07.12.2026 00:00:00.000", false},
             std::tuple{"0.6 ms after midnight", 46363 + 0.6 * ms, "07.12.2026 00:00:00.001",
                        false},
             std::tuple{"a time of day alone, 23:59:59.6", 86'399'600 * ms,
                        "30.12.1899 23:59:59.600", true},
             std::tuple{"a time of day alone, 23:59:59.9996", 86'399'999.6 * ms,
                        "31.12.1899 00:00:00.000", false},
         }) {
        const QDateTime dateTime = fromOleDate(value);
        EXPECT_EQ(dateTime.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz")).toStdString(), shown)
            << name;
        EXPECT_EQ(dateTime.time().toString(QStringLiteral("hh:mm:ss")).toStdString(),
                  std::string(shown).substr(11, 8))
            << name;
        if (exact) {
            EXPECT_NEAR(toOleDate(dateTime), value, 1e-12) << name;
        }
    }
}

TEST(OleDate, SplitsDateAndTimeOfDay)
{
    const double value = toOleDate(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59)));
    EXPECT_DOUBLE_EQ(oleDatePart(value), 46362.0);
    EXPECT_NEAR(oleTimePart(value), (86400.0 - 1) / 86400.0, 1e-9);
}

} // namespace
} // namespace voltmetr
