#include "exercise/rangecaption.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

// Single-precision ranges such as 0.6 must not come out as 0.600000024.
TEST(RangeCaption, ShortestTextWithTheSystemsSeparator)
{
    EXPECT_EQ(rangeCaption(0.5f, QLocale(QLocale::Czech)), QStringLiteral("0,5"));
    EXPECT_EQ(rangeCaption(0.6f, QLocale(QLocale::Czech)), QStringLiteral("0,6"));
    EXPECT_EQ(rangeCaption(2.4f, QLocale::c()), QStringLiteral("2.4"));
    EXPECT_EQ(rangeCaption(200.0f, QLocale(QLocale::Czech)), QStringLiteral("200"));
}

} // namespace
} // namespace voltmetr
