#pragma once

#include <chrono>
#include <functional>

namespace voltmetr {

// How one save is retried while other computers hold the school database: the whole save,
// every attempt and every pause between them, gets one time budget. An attempt waits for the
// database at most what is left of the budget, and no longer than attemptWait, so that a
// writer that lost the race tries again instead of sleeping out the budget in one wait. The
// pauses between attempts are random (full jitter) and grow from firstPause up to maxPause, so
// that writers that collided do not collide again in step, and stay short enough that a
// writer waiting long still gets its turn.
class SaveRetry
{
public:
    using Duration = std::chrono::milliseconds;

    enum class Outcome
    {
        Done,
        Busy,  // another writer held the database; nothing of this attempt was kept
        Failed // anything else: trying again would not help
    };

    struct Limits
    {
        Duration budget{10'000};
        Duration attemptWait{200};
        Duration firstPause{5};
        Duration maxPause{50};
    };

    // Where the retries take the time and chance from; the real ones unless a test gives others.
    struct Timing
    {
        std::function<Duration()> now; // from any fixed origin, never going back
        std::function<void(Duration)> sleep;
        std::function<double()> uniform; // in [0, 1)
    };
    static Timing realTiming();

    explicit SaveRetry(Limits limits, Timing timing = realTiming());

    // Runs attempt(longest wait for the database) until it is done, fails, or the budget is
    // spent. An attempt may be repeated only when it left nothing behind: it must report Busy
    // only for work that was rolled back.
    Outcome run(const std::function<Outcome(Duration wait)>& attempt) const;

private:
    Limits m_limits;
    Timing m_timing;
};

} // namespace voltmetr
