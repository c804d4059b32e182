#pragma once

#include <QSet>
#include <QSqlDatabase>
#include <QString>

namespace voltmetr {

// The pupils' mailed reports that the teacher's tool has stored as runs, each in "Zpravy" by its
// identity, so that a mail decoded again is never stored twice. Both run inside the caller's
// transaction, after ensureStoredReportsTable.

// Reads the identities of every report stored before, in one statement however many reports a
// mailbox brings. Empty on success, else the reason.
QString readStoredReports(QSqlDatabase& db, QSet<QString>& identities);

// Notes the report as stored, once its run is (insertResultRow). Empty on success, else the
// reason.
QString rememberStoredReport(QSqlDatabase& db, const QString& identity);

} // namespace voltmetr
