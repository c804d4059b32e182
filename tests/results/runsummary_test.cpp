#include "results/runsummary.h"

#include <gtest/gtest.h>

namespace voltmetr {
namespace {

TEST(CountCaption, TheNumberChoosesTheNounsForm)
{
    const struct
    {
        std::int64_t n;
        const char* caption;
    } cases[] = {
        {0, " 0 příkladů"},   {1, " 1 příklad"},
        {2, " 2 příklady"},   {4, " 4 příklady"},
        {5, " 5 příkladů"},   {11, " 11 příkladů"},
        {21, " 21 příkladů"}, {22, " 22 příkladů"},
        {-2, "-2 příkladů"},  {3000000000LL, " 3000000000 příkladů"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countCaption(c.n), QString::fromUtf8(c.caption)) << c.n;
    }
}

} // namespace
} // namespace voltmetr
