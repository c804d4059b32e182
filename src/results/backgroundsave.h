#pragma once

#include "school/resultsstore.h"

#include <QObject>
#include <thread>

namespace voltmetr {

// Stores one run on a thread of its own, so that the window waiting for it keeps painting and
// answering while other computers hold the database. The thread has its own connection, as
// every connection belongs to the thread that opened it. finished() comes on the thread that
// started the save.
class BackgroundSave : public QObject
{
    Q_OBJECT
public:
    BackgroundSave(ResultsStore store, ResultRow row, std::vector<TaskRecord> tasks,
                   QObject* parent = nullptr);
    // Waits for a save still running: a row is never left half stored.
    ~BackgroundSave() override;

    bool isRunning() const { return !m_finished; }
    // The outcome once finished() has come.
    const RunStored& result() const { return m_result; }

Q_SIGNALS:
    void finished();

private:
    RunStored m_result;
    bool m_finished = false;
    std::thread m_thread;
};

} // namespace voltmetr
