#pragma once

#include "app/tasklog.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <vector>

namespace voltmetr {

// The task log of a school-server run in the table "Ulohy": one row per finished task, tied
// to the run's row of "Prehled " by that row's rowid.

// Writes the run's tasks inside the transaction that has just stored the run's row runId. The
// run never depends on its log: a database made before the log existed, or one that refuses
// it, keeps the run without the log, and the administrator is told why (category
// voltmetr.database, naming whose run it was). True when the log was written.
bool storeTaskLog(QSqlDatabase& db, qint64 runId, const std::vector<TaskRecord>& tasks,
                  const QString& whoseRun);

// The columns of a task's record, qualified by the table, in the order taskRecordAt reads them.
QString taskLogColumns();

// The record whose columns start at field `first` of the query's current row.
TaskRecord taskRecordAt(const QSqlQuery& query, int first);

} // namespace voltmetr
