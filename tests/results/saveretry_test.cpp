#include "results/saveretry.h"

#include <gtest/gtest.h>
#include <vector>

namespace voltmetr {
namespace {

using Duration = SaveRetry::Duration;
using Outcome = SaveRetry::Outcome;

// One attempt as the database answers it, and how long it took: its whole wait when nothing is
// given, as an attempt that waited for the lock in vain.
struct Answer
{
    Outcome outcome;
    std::optional<Duration> takes;
};

struct Case
{
    const char* name;
    std::vector<Answer> answers;
    double chance; // every draw of the random pause
    Outcome outcome;
    std::vector<Duration::rep> waits;  // what each attempt was allowed to wait
    std::vector<Duration::rep> pauses; // slept between attempts
};

TEST(SaveRetry, RetriesOnlyABusyDatabaseWithGrowingRandomPausesWithinOneBudget)
{
    const Outcome busy = Outcome::Busy;
    // Budget 1000 ms, attempts wait 200 ms at most, pauses drawn up to 10, 20, 40, 40... ms.
    const Case cases[] = {
        {"stored at the first attempt",
         {{Outcome::Done, Duration(30)}},
         0.5,
         Outcome::Done,
         {200},
         {}},
        {"busy twice, then stored",
         {{busy, {}}, {busy, {}}, {Outcome::Done, Duration(20)}},
         0.5,
         Outcome::Done,
         {200, 200, 200},
         {5, 10}},
        {"busy until the budget is spent: the last attempt waits what is left, then reported",
         {{busy, {}}, {busy, {}}, {busy, {}}, {busy, {}}, {busy, {}}},
         0.5,
         busy,
         {200, 200, 200, 200, 1000 - 4 * 200 - (5 + 10 + 20 + 20)},
         {5, 10, 20, 20}},
        {"an attempt that overran leaves only a pause cut to the budget",
         {{busy, Duration(995)}},
         0.99,
         busy,
         {200},
         {5}},
        {"another failure is reported at once",
         {{Outcome::Failed, Duration(3)}},
         0.5,
         Outcome::Failed,
         {200},
         {}},
        {"no chance drawn: writers try again at once",
         {{busy, Duration(1)}, {Outcome::Done, {}}},
         0.0,
         Outcome::Done,
         {200, 200},
         {0}},
    };
    for (const Case& c : cases) {
        Duration clock{1'000'000};
        std::vector<Duration::rep> waits;
        std::vector<Duration::rep> pauses;
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
        const Outcome outcome = retry.run([&](Duration wait) {
            if (waits.size() == c.answers.size()) {
                ADD_FAILURE() << c.name << ": one attempt too many";
                return Outcome::Failed;
            }
            const Answer& answer = c.answers[waits.size()];
            waits.push_back(wait.count());
            clock += answer.takes.value_or(wait);
            return answer.outcome;
        });
        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(waits, c.waits) << c.name;
        EXPECT_EQ(pauses, c.pauses) << c.name;
    }
}

} // namespace
} // namespace voltmetr
