#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace voltmetr {

// The tables of the school database, their indexes, and on a server the roles and their rights.

// Creates both tables, the task log and their indexes in an empty database, in one transaction. On
// a server it also sets the database's roles and rights (establishServerRights); that takes a
// connection allowed to create roles. Returns an empty text on success, else the reason.
QString createSchoolSchema(QSqlDatabase& db);

// Adds the task log to a school database made before it existed, in one transaction; on a
// server, bringServerRightsUpToDate then gives it its rights. Empty on success, else the reason.
QString addTaskLogTable(QSqlDatabase& db);

// The columns of the task log in the order a row is written: the run's rowid ("Beh") first.
QStringList taskLogColumnNames();

// The columns of "Prehled " in the order a row is written.
QStringList resultColumnNames();

// Empty when the task log can be read and holds every column the program writes; else the
// Czech reason, naming the table or the column that is missing.
QString checkTaskLogTable(QSqlDatabase& db);

// Creates the table of stored reports unless the database has it (a server's belongs to the
// teacher's role, and the pupils get no right to it). Runs inside the caller's transaction.
// Empty on success, else the reason.
QString ensureStoredReportsTable(QSqlDatabase& db);

// The same in a transaction of its own, for a database made before the table existed.
QString addStoredReportsTable(QSqlDatabase& db);

// Sets a server database's roles and rights as createSchoolSchema does, in a transaction of its
// own, on a database made by any earlier version; `changes` says in Czech what changed. Empty on
// success, else the reason.
QString bringServerRightsUpToDate(QSqlDatabase& db, QStringList& changes);

// Whether the database holds either table already.
bool schoolTablesPresent(QSqlDatabase& db);

// Empty when both tables can be read and hold every column the program uses; else the Czech
// reason, naming the table or the column that is missing.
QString checkSchoolSchema(QSqlDatabase& db);

} // namespace voltmetr
