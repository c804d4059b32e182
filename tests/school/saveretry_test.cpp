#include "school/lockwait.h"
#include "school/saveretry.h"

#include <gtest/gtest.h>
#include <numeric>
#include <optional>
#include <vector>

namespace voltmetr {
namespace {

using Duration = SaveRetry::Duration;
using Ms = Duration::rep;
constexpr auto done = SaveRetry::Outcome::Done;
constexpr auto busy = SaveRetry::Outcome::Busy;
constexpr auto failed = SaveRetry::Outcome::Failed;

// One attempt as the database answers it, and how long it took: its whole wait when nothing is
// given, as an attempt that waited for the lock in vain.
struct Answer
{
    SaveRetry::Outcome outcome;
    std::optional<Ms> takes = {};
};

TEST(SaveRetry, RetriesOnlyABusyDatabaseWithGrowingRandomPausesWithinOneBudget)
{
    // Budget 1000 ms, pauses drawn up to 10, 20, 40, 40... ms. The answers, every draw of the
    // random pause, the outcome, what each attempt was allowed to wait (what was left of the
    // budget) and the pauses slept between attempts.
    const struct
    {
        const char* name;
        std::vector<Answer> answers;
        double chance;
        SaveRetry::Outcome outcome;
        std::vector<Ms> waits;
        std::vector<Ms> pauses;
    } cases[] = {
        {"stored at the first attempt", {{done, 30}}, 0.5, done, {1000}, {}},
        {"busy twice, stored",
         {{busy, 100}, {busy, 100}, {done, 20}},
         0.5,
         done,
         {1000, 1000 - 100 - 5, 1000 - 2 * 100 - (5 + 10)},
         {5, 10}},
        {"an attempt that waited in vain to the end is reported", {{busy}}, 0.5, busy, {1000}, {}},
        {"busy until the budget is spent: the last attempt waits what is left, then reported",
         {{busy, 300}, {busy, 300}, {busy, 300}, {busy}},
         0.5,
         busy,
         {1000, 1000 - 300 - 5, 1000 - 600 - 15, 1000 - 900 - 35},
         {5, 10, 20}},
        {"an overrun leaves only a pause cut to the budget",
         {{busy, 995}},
         0.99,
         busy,
         {1000},
         {5}},
        {"another failure is reported at once", {{failed, 3}}, 0.5, failed, {1000}, {}},
        {"no pause drawn: tried again at once", {{busy, 1}, {done}}, 0.0, done, {1000, 999}, {0}},
    };
    for (const auto& c : cases) {
        using Microseconds = SaveRetry::Timing::Microseconds;
        Microseconds clock{1'000'000'000};
        std::vector<Ms> waits;
        std::vector<Ms> pauses;
        const SaveRetry retry(
            {.budget = Duration(1000), .firstPause = Duration(10), .maxPause = Duration(40)},
            {[&] { return clock; },
             [&](Microseconds pause) {
                 pauses.push_back(std::chrono::duration_cast<Duration>(pause).count());
                 clock += pause;
             },
             [&] { return c.chance; }});
        const SaveRetry::Outcome outcome = retry.run([&](Duration wait) {
            if (waits.size() == c.answers.size()) {
                ADD_FAILURE() << c.name << ": one attempt too many";
                return failed;
            }
            const Answer& answer = c.answers[waits.size()];
            waits.push_back(wait.count());
            clock += Duration(answer.takes.value_or(wait.count()));
            return answer.outcome;
        });
        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(waits, c.waits) << c.name;
        EXPECT_EQ(pauses, c.pauses) << c.name;
    }
}

TEST(LockWait, LooksAgainAfterShortPausesThatNeverGrowUntilOneDeadline)
{
    // Pauses are drawn evenly between 0.5 and 2.5 ms whatever the number of looks before, and
    // cut to the deadline; at the deadline the wait gives up. Times in microseconds.
    using Microseconds = SaveRetry::Timing::Microseconds;
    const struct
    {
        const char* name;
        std::chrono::milliseconds limit;
        int looks;
        double chance;
        std::vector<Microseconds::rep> pauses; // one a look; the rest gave up
    } cases[] = {
        {"the shortest pause", std::chrono::milliseconds(100), 1, 0.0, {500}},
        {"the middle pause", std::chrono::milliseconds(100), 1, 0.5, {1500}},
        {"the longest pause, and the same after many looks: a long waiter looks as often",
         std::chrono::milliseconds(200), 60, 0.999, std::vector<Microseconds::rep>(60, 2498)},
        {"a pause cut to the deadline, then given up",
         std::chrono::milliseconds(2),
         3,
         0.5,
         {1500, 500}},
        {"no time at all: given up at the first look", std::chrono::milliseconds(0), 1, 0.5, {}},
    };
    for (const auto& c : cases) {
        Microseconds clock{7'000'000};
        std::vector<Microseconds::rep> pauses;
        LockWait wait(c.limit, {[&] { return clock; },
                                [&](Microseconds pause) {
                                    pauses.push_back(pause.count());
                                    clock += pause;
                                },
                                [&] { return c.chance; }});
        int gaveUp = 0;
        for (int look = 0; look < c.looks; ++look) {
            gaveUp += wait.pauseBeforeTryingAgain() ? 0 : 1;
        }
        EXPECT_EQ(pauses, c.pauses) << c.name;
        EXPECT_EQ(gaveUp, c.looks - static_cast<int>(c.pauses.size())) << c.name;
        EXPECT_EQ(wait.paused().count(), std::accumulate(c.pauses.begin(), c.pauses.end(), 0LL))
            << c.name << ": what was slept, cut pauses as cut";
    }
}

TEST(LockWait, ANewLimitCountsFromNow)
{
    using Microseconds = SaveRetry::Timing::Microseconds;
    Microseconds clock{0};
    LockWait wait(
        std::chrono::milliseconds(1),
        {[&] { return clock; }, [&](Microseconds pause) { clock += pause; }, [] { return 0.0; }});
    clock += std::chrono::milliseconds(5);
    EXPECT_FALSE(wait.pauseBeforeTryingAgain()) << "the first limit has passed";
    wait.waitAtMost(std::chrono::milliseconds(1));
    EXPECT_TRUE(wait.pauseBeforeTryingAgain()) << "0.5 ms of the new limit gone";
    EXPECT_TRUE(wait.pauseBeforeTryingAgain()) << "1 ms gone: the deadline is reached";
    EXPECT_FALSE(wait.pauseBeforeTryingAgain());
}

} // namespace
} // namespace voltmetr
