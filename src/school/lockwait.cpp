#include "school/lockwait.h"

#include <QSqlDriver>
#include <QVariant>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace voltmetr {

namespace {

int pauseOrGiveUp(void* wait, int /*lookedBefore*/)
{
    return static_cast<LockWait*>(wait)->pauseBeforeTryingAgain() ? 1 : 0;
}

} // namespace

LockWait::LockWait(std::chrono::milliseconds limit, SaveRetry::Timing timing)
    : m_timing(std::move(timing))
{
    waitAtMost(limit);
}

void LockWait::waitAtMost(std::chrono::milliseconds limit)
{
    m_deadline = m_timing.now() + limit;
}

bool LockWait::pauseBeforeTryingAgain()
{
    const Microseconds now = m_timing.now();
    if (now >= m_deadline) {
        return false;
    }
    const auto spread = static_cast<double>((LongestPause - ShortestPause).count());
    const Microseconds pause =
        ShortestPause + Microseconds(static_cast<Microseconds::rep>(m_timing.uniform() * spread));
    const Microseconds cut = std::min(pause, m_deadline - now);
    m_timing.sleep(cut);
    m_paused += cut;
    return true;
}

bool LockWait::attachTo(QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0) {
        return false;
    }
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
    return connection != nullptr &&
           sqlite3_busy_handler(connection, &pauseOrGiveUp, this) == SQLITE_OK;
}

} // namespace voltmetr
