#pragma once

#include <chrono>
#include <functional>

namespace voltmetr {

// How one save is retried when the school database refused it for another writer's sake (a
// server's transactions that collided, a file's lock that stayed taken): the whole save, every
// attempt and every pause between them, gets one time budget. An attempt may wait for the
// database what is left of the budget. The pauses between attempts are random (full jitter)
// and grow from firstPause up to maxPause, so that writers that collided do not collide again
// in step, and stay short enough that a writer that waited long still gets its turn.
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
        Duration firstPause{5};
        Duration maxPause{50};
    };

    // Where waiting takes the time and chance from; the real ones unless a test gives others.
    struct Timing
    {
        using Microseconds = std::chrono::microseconds;
        std::function<Microseconds()> now; // from any fixed origin, never going back
        std::function<void(Microseconds)> sleep;
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
