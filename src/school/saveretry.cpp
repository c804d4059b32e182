#include "school/saveretry.h"

#include <algorithm>
#include <random>
#include <thread>

namespace voltmetr {

SaveRetry::Timing SaveRetry::realTiming()
{
    return {
        [] {
            return std::chrono::duration_cast<Timing::Microseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
        },
        [](Timing::Microseconds pause) { std::this_thread::sleep_for(pause); },
        [] {
            // Every thread its own generator: writers started in the same instant on many
            // computers must still pause for different times.
            thread_local std::mt19937 generator{std::random_device{}()};
            return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
        },
    };
}

SaveRetry::SaveRetry(Limits limits, Timing timing) : m_limits(limits), m_timing(std::move(timing))
{
}

SaveRetry::Outcome SaveRetry::run(const std::function<Outcome(Duration wait)>& attempt) const
{
    const Timing::Microseconds start = m_timing.now();
    const auto left = [&] {
        // Rounded up: a wait cut short by rounding would give up before the budget is spent.
        return std::chrono::ceil<Duration>(m_limits.budget - (m_timing.now() - start));
    };
    Duration pauseCeiling = m_limits.firstPause;
    for (;;) {
        const Outcome outcome = attempt(std::max(left(), Duration::zero()));
        if (outcome != Outcome::Busy || left() <= Duration::zero()) {
            return outcome;
        }
        const auto pause = Duration(static_cast<Duration::rep>(
            m_timing.uniform() * static_cast<double>(pauseCeiling.count())));
        m_timing.sleep(std::min(pause, left()));
        if (left() <= Duration::zero()) {
            return Outcome::Busy;
        }
        pauseCeiling = std::min(pauseCeiling * 2, m_limits.maxPause);
    }
}

} // namespace voltmetr
