#include "school/lockwait.h"
#include "school/saveretry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace voltmetr {
namespace {

using Duration = SaveRetry::Duration;
using Ms = Duration::rep;
using Microseconds = SaveRetry::Timing::Microseconds;
constexpr auto done = SaveRetry::Outcome::Done;
constexpr auto busy = SaveRetry::Outcome::Busy;
constexpr auto failed = SaveRetry::Outcome::Failed;

// A clock that only sleeping moves, the pauses slept in microseconds, and a fixed chance.
struct Time
{
    explicit Time(double draw) : chance(draw) {}
    Microseconds now{1'000'000'000};
    std::vector<Microseconds::rep> slept;
    double chance = 0.5;
    SaveRetry::Timing timing()
    {
        return {[this] { return now; },
                [this](Microseconds pause) {
                    slept.push_back(pause.count());
                    now += pause;
                },
                [this] { return chance; }};
    }
};

// How long each attempt took, -1 for its whole wait, as an attempt that waited for the lock in
// vain. Each attempt but the last found the database busy; the last one answered the outcome.
constexpr Ms wholeWait = -1;

TEST(SaveRetry, RetriesOnlyABusyDatabaseWithGrowingRandomPausesWithinOneBudget)
{
    // Budget 1000 ms, pauses drawn up to 10, 20, 40, 40... ms. The attempts, every draw of the
    // random pause, the outcome, what each attempt was allowed to wait (what was left of the
    // budget) and the pauses slept between attempts, in ms.
    using Case = std::tuple<const char*, std::vector<Ms>, double, SaveRetry::Outcome,
                            std::vector<Ms>, std::vector<Ms>>;
    const Case cases[] = {
        {"stored at once", {30}, 0.5, done, {1000}, {}},
        {"busy twice, stored", {100, 100, 20}, 0.5, done, {1000, 1000 - 100 - 5, 785}, {5, 10}},
        // Busy to the end: the last attempt waits what is left, 1000 - 3 * 300 - (5 + 10 + 20).
        {"budget spent", {300, 300, 300, wholeWait}, 0.5, busy, {1000, 695, 385, 65}, {5, 10, 20}},
        {"an overrun leaves only a pause cut to the budget", {995}, 0.99, busy, {1000}, {5}},
        {"another failure is reported at once", {3}, 0.5, failed, {1000}, {}},
        {"no pause drawn: tried again at once", {1, wholeWait}, 0.0, done, {1000, 999}, {0}},
    };
    for (const auto& [name, attempts, chance, outcome, waits, pauses] : cases) {
        Time time(chance);
        std::vector<Ms> waited;
        const SaveRetry retry(
            {.budget = Duration(1000), .firstPause = Duration(10), .maxPause = Duration(40)},
            time.timing());
        const SaveRetry::Outcome got =
            retry.run([&, &attempts = attempts, outcome = outcome](Duration wait) {
                const Ms took = attempts.at(waited.size()); // throws at one attempt too many
                waited.push_back(wait.count());
                time.now += Duration(took == wholeWait ? wait.count() : took);
                return waited.size() < attempts.size() ? busy : outcome;
            });
        std::vector<Ms> slept(time.slept.begin(), time.slept.end());
        std::ranges::for_each(slept, [](Ms& pause) { pause /= 1000; }); // in ms
        EXPECT_EQ(std::tuple(got, waited, slept), std::tuple(outcome, waits, pauses)) << name;
    }
}

TEST(LockWait, LooksAgainAfterShortPausesThatNeverGrowUntilOneDeadline)
{
    // Pauses are drawn evenly between 0.5 and 2.5 ms whatever the number of looks before, and
    // cut to the deadline; at the deadline the wait gives up. The limit in ms, the looks, the
    // chance, the pauses in microseconds, one a look; the rest gave up.
    const std::tuple<const char*, Ms, int, double, std::vector<Microseconds::rep>> cases[] = {
        {"the shortest pause", 100, 1, 0.0, {500}},
        {"the longest pause, and the same after many looks: a long waiter looks as often", 200, 60,
         0.999, std::vector<Microseconds::rep>(60, 2498)},
        {"a pause cut to the deadline, then given up", 2, 3, 0.5, {1500, 500}},
        {"no time at all: given up at the first look", 0, 1, 0.5, {}},
    };
    for (const auto& [name, limit, looks, chance, pauses] : cases) {
        Time time(chance);
        LockWait wait(Duration(limit), time.timing());
        int gaveUp = 0;
        for (int look = 0; look < looks; ++look) {
            gaveUp += wait.pauseBeforeTryingAgain() ? 0 : 1;
        }
        // What was slept, cut pauses as cut.
        EXPECT_EQ(std::tuple(time.slept, gaveUp, wait.paused().count()),
                  std::tuple(pauses, looks - static_cast<int>(pauses.size()),
                             std::accumulate(pauses.begin(), pauses.end(), 0LL)))
            << name;
    }
}

TEST(LockWait, ANewLimitCountsFromNow)
{
    Time time(0.0);
    LockWait wait(Duration(1), time.timing());
    time.now += Duration(5);
    EXPECT_FALSE(wait.pauseBeforeTryingAgain()) << "the first limit has passed";
    wait.waitAtMost(Duration(1));
    EXPECT_TRUE(wait.pauseBeforeTryingAgain()) << "0.5 ms of the new limit gone";
    EXPECT_TRUE(wait.pauseBeforeTryingAgain()) << "1 ms gone: the deadline is reached";
    EXPECT_FALSE(wait.pauseBeforeTryingAgain());
}

TEST(LockWait, AConnectionToAFileWaitsForTheLockThroughItsPausesUntilFreedOrTheDeadline)
{
    // Another computer's connection holds the file's lock while the test's statement waits; it
    // frees the lock after the pauses given, or never. The statement runs once the lock is free
    // and gives up at the 2 ms deadline: four pauses of 0.5 ms.
    const std::tuple<const char*, std::size_t, bool, std::vector<Microseconds::rep>> cases[] = {
        {"freed after the third pause", 3, true, {500, 500, 500}},
        {"held past the deadline", 99, false, {500, 500, 500, 500}},
    };
    const QTemporaryDir folder;
    for (const auto& [name, freedAfter, runs, pauses] : cases) {
        const QString file = folder.filePath(QString::fromUtf8(name) + QStringLiteral(".sqlite"));
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), u"holder"_qs);
        QSqlDatabase waiter = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), u"waiter"_qs);
        holder.setDatabaseName(file);
        waiter.setDatabaseName(file);
        ASSERT_TRUE(holder.open() && waiter.open());
        QSqlQuery hold(holder);
        ASSERT_TRUE(hold.exec(u"BEGIN EXCLUSIVE"_qs));

        Time time(0.0);
        SaveRetry::Timing timing = time.timing();
        timing.sleep = [&, sleep = timing.sleep, freedAfter = freedAfter](Microseconds pause) {
            sleep(pause);
            if (time.slept.size() == freedAfter) {
                QSqlQuery(holder).exec(u"COMMIT"_qs);
            }
        };
        LockWait wait(Duration(2), timing);
        ASSERT_TRUE(wait.attachTo(waiter)) << name;
        QSqlQuery statement(waiter);
        EXPECT_EQ(std::pair(statement.exec(u"CREATE TABLE t (x)"_qs), time.slept),
                  std::pair(runs, pauses))
            << name << ": " << statement.lastError().text().toStdString();
        statement = QSqlQuery();
        hold = QSqlQuery();
        holder.close();
        waiter.close();
        holder = waiter = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"holder"_qs);
        QSqlDatabase::removeDatabase(u"waiter"_qs);
    }
}

} // namespace
} // namespace voltmetr
