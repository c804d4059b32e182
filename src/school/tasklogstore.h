#pragma once

#include "app/tasklog.h"
#include "school/period.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <vector>

namespace voltmetr {

// The task log of a school-server run in the table "Ulohy": one row per finished task, tied
// to the run's row of "Prehled " by that row's rowid.

// A task's values in the order of the table's columns after the run's rowid.
QVariantList taskRecordValues(const TaskRecord& task);

// Writes a run's tasks inside the transaction that has just stored the run's row. The table is
// checked and the statement prepared when the writer is made, before the write lock is taken,
// so that a computer holding the school file's lock only runs it. The run never depends on its
// log: a database made before the log existed, or one that refuses it, keeps the run without
// the log, and the administrator is told why (category voltmetr.database, naming whose run it
// was).
class TaskLogWriter
{
public:
    TaskLogWriter(QSqlDatabase& db, bool anyTasks);

    // What was found wrong with the table, empty when the log can be written.
    const QString& failure() const { return m_failure; }

    // True when the log was written, or there was nothing to write.
    bool store(qint64 runId, const std::vector<TaskRecord>& tasks, const QString& whoseRun);

private:
    QSqlDatabase m_db;
    QSqlQuery m_insert;
    QString m_failure; // what was found wrong with the table before the run was stored
};

// Whether the database has a task log holding every column the program writes. Asked of the
// catalogue only, so that a database made before the log existed gives no error to log.
bool taskLogReadable(QSqlDatabase& db);

// One logged task with the pupil whose run it belongs to (a NULL surname or class as empty text).
struct LoggedTask
{
    QString surname;
    QString className;
    TaskRecord task;
    qint64 runId = 0; // the rowid of the run's row in "Prehled "
};

// Hands each logged task of one class's runs, or of all runs when className is empty, to each
// as it is read (a school year holds hundreds of thousands), run by run in the order stored, each
// run's tasks in the order set. Empty on success, else the reason.
QString readTaskLog(QSqlDatabase& db, const QString& className,
                    const std::function<void(const LoggedTask&)>& each);

// readTaskLog of one pupil's runs in the period: surname and class as stored, NULL as empty text.
QString readPupilTaskLog(QSqlDatabase& db, const QString& surname, const QString& className,
                         const Period& period, const std::function<void(const LoggedTask&)>& each);

// One logged task as the statistics count it: the run it belongs to and, of its figures, only
// the meter's divisions, the voltage, the range in use, whether the meter was destroyed, the
// value read, the verdict and the seconds; the other fields keep their defaults.
struct CountedTask
{
    qint64 run = 0; // the run's rowid in "Prehled "
    TaskRecord task;
};

// Hands each logged task of the runs of one class (of all when className is empty) in the period
// to each as it is read, in no particular order. Reads only what the statistics count and leaves
// finding each run's pupil to the caller, so that a school year's tasks come without a join, a
// sort or a name per task. Empty on success, else the reason.
QString readCountedTasks(QSqlDatabase& db, const QString& className, const Period& period,
                         const std::function<void(const CountedTask&)>& each);

} // namespace voltmetr
