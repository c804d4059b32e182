#pragma once

#include "school/saveretry.h"

#include <QSqlDatabase>
#include <chrono>

namespace voltmetr {

// How a connection to the school database file waits while another computer holds it.
//
// SQLite's own wait sleeps longer and longer between looks at the lock, so a writer that has
// waited long looks rarely, and one that has just come looks often and wins: with a class
// saving at once, the unlucky pupil waited ten seconds and lost his run to the e-mail report.
// This wait looks again after a short random pause that does not grow, so every waiting
// computer is as likely as any other to get the lock when it is freed, however long it has
// waited, and the lock is seldom left idle. Every wait ends at one deadline for the whole
// connection, not a new one per statement.
class LockWait
{
public:
    using Microseconds = std::chrono::microseconds;
    static constexpr Microseconds ShortestPause{500};
    static constexpr Microseconds LongestPause{2'500};

    explicit LockWait(std::chrono::milliseconds limit,
                      SaveRetry::Timing timing = SaveRetry::realTiming());

    // From now on, a wait for the lock ends `limit` from now.
    void waitAtMost(std::chrono::milliseconds limit);

    // Called each time the lock was found taken: pauses and answers true while the deadline is
    // ahead, answers false once it has passed, so that the statement reports the lock as held.
    bool pauseBeforeTryingAgain();

    // All the pauses together since the wait began.
    Microseconds paused() const { return m_paused; }

    // Makes a connection to an SQLite file wait this way. The wait must outlive the connection.
    // False when the connection is not an open SQLite one.
    bool attachTo(QSqlDatabase& db);

private:
    SaveRetry::Timing m_timing;
    Microseconds m_deadline;
    Microseconds m_paused{0};
};

} // namespace voltmetr
