#pragma once

#include "app/tasklog.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <functional>
#include <vector>

namespace voltmetr {

// The task log of a school-server run in the table "Ulohy": one row per finished task, tied
// to the run's row of "Prehled " by that row's rowid.

// A task's values in the order of the table's columns after the run's rowid.
QVariantList taskRecordValues(const TaskRecord& task);

// Writes the run's tasks inside the transaction that has just stored the run's row runId. The
// run never depends on its log: a database made before the log existed, or one that refuses
// it, keeps the run without the log, and the administrator is told why (category
// voltmetr.database, naming whose run it was). True when the log was written.
bool storeTaskLog(QSqlDatabase& db, qint64 runId, const std::vector<TaskRecord>& tasks,
                  const QString& whoseRun);

// Whether the database has a task log holding every column the program writes. Asked of the
// catalogue first, so that a database made before the log existed gives no error to log.
bool taskLogReadable(QSqlDatabase& db);

// One logged task with the pupil whose run it belongs to (a NULL surname or class as empty text).
struct LoggedTask
{
    QString surname;
    QString className;
    TaskRecord task;
};

// Hands each logged task of one class's runs, or of all runs when className is empty, to each
// as it is read (a school year holds hundreds of thousands), run by run in the order stored, each
// run's tasks in the order set. Empty on success, else the reason.
QString readTaskLog(QSqlDatabase& db, const QString& className,
                    const std::function<void(const LoggedTask&)>& each);

} // namespace voltmetr
