#include "results/backgroundsave.h"

namespace voltmetr {

BackgroundSave::BackgroundSave(ResultsStore store, ResultRow row, std::vector<TaskRecord> tasks,
                               QObject* parent)
    : QObject(parent)
{
    m_thread = std::thread(
        [this, store = std::move(store), row = std::move(row), tasks = std::move(tasks)] {
            RunStored stored = store.appendRun(row, tasks);
            // Handed over through the starting thread's event queue: nothing is shared while the
            // save runs, and an object destroyed meanwhile drops the call.
            QMetaObject::invokeMethod(
                this,
                [this, stored = std::move(stored)] {
                    m_result = stored;
                    m_finished = true;
                    Q_EMIT finished();
                },
                Qt::QueuedConnection);
        });
}

BackgroundSave::~BackgroundSave()
{
    m_thread.join();
}

} // namespace voltmetr
