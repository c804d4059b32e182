#pragma once

#include <QSqlDatabase>
#include <QString>

namespace voltmetr {

// The pupils' mailed reports that the teacher's tool has stored as runs, each in "Zpravy" by its
// identity, so that a mail decoded again is never stored twice. Both run inside the caller's
// transaction, after ensureStoredReportsTable.

// Sets stored to whether the report with this identity was stored before. Empty on success,
// else the reason.
QString readReportStored(QSqlDatabase& db, const QString& identity, bool& stored);

// Notes the report as stored, once its run is (insertResultRow). Empty on success, else the
// reason.
QString rememberStoredReport(QSqlDatabase& db, const QString& identity);

} // namespace voltmetr
