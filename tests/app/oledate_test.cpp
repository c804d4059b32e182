#include "app/oledate.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(OleDate, CountsDaysFromTheEndOf1899)
{
    struct Case
    {
        const char* name;
        QDateTime dateTime;
        double value;
    };
    const Case cases[] = {
        {"the epoch", QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
        {"noon of the next day", QDateTime(QDate(1899, 12, 31), QTime(12, 0)), 1.5},
        {"first of January 2000", QDateTime(QDate(2000, 1, 1), QTime(0, 0)), 36526.0},
        {"a quarter past six", QDateTime(QDate(2026, 12, 6), QTime(6, 0)), 46362.25},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(toOleDate(c.dateTime), c.value) << c.name;
        EXPECT_EQ(fromOleDate(c.value), c.dateTime) << c.name;
    }
}

TEST(OleDate, SplitsDateAndTimeOfDay)
{
    const double value = toOleDate(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59)));
    EXPECT_DOUBLE_EQ(oleDatePart(value), 46362.0);
    EXPECT_NEAR(oleTimePart(value), (86400.0 - 1) / 86400.0, 1e-9);
    EXPECT_EQ(fromOleDate(value).time(), QTime(23, 59, 59));
}

} // namespace
} // namespace voltmetr
