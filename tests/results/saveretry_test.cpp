#include "results/saveretry.h"

#include <gtest/gtest.h>
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
    // Budget 1000 ms, attempts wait 200 ms at most, pauses drawn up to 10, 20, 40, 40... ms.
    // The answers, every draw of the random pause, the outcome, what each attempt was allowed
    // to wait and the pauses slept between attempts.
    const struct
    {
        const char* name;
        std::vector<Answer> answers;
        double chance;
        SaveRetry::Outcome outcome;
        std::vector<Ms> waits;
        std::vector<Ms> pauses;
    } cases[] = {
        {"stored at the first attempt", {{done, 30}}, 0.5, done, {200}, {}},
        {"busy twice, stored", {{busy}, {busy}, {done, 20}}, 0.5, done, {200, 200, 200}, {5, 10}},
        {"busy until the budget is spent: the last attempt waits what is left, then reported",
         {{busy}, {busy}, {busy}, {busy}, {busy}},
         0.5,
         busy,
         {200, 200, 200, 200, 1000 - 4 * 200 - (5 + 10 + 20 + 20)},
         {5, 10, 20, 20}},
        {"an overrun leaves only a pause cut to the budget", {{busy, 995}}, 0.99, busy, {200}, {5}},
        {"another failure is reported at once", {{failed, 3}}, 0.5, failed, {200}, {}},
        {"no pause drawn: tried again at once", {{busy, 1}, {done}}, 0.0, done, {200, 200}, {0}},
    };
    for (const auto& c : cases) {
        Duration clock{1'000'000};
        std::vector<Ms> waits;
        std::vector<Ms> pauses;
        const SaveRetry retry({.budget = Duration(1000),
                               .attemptWait = Duration(200),
                               .firstPause = Duration(10),
                               .maxPause = Duration(40)},
                              {[&] { return clock; },
                               [&](Duration pause) {
                                   pauses.push_back(pause.count());
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

} // namespace
} // namespace voltmetr
