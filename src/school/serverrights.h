#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace voltmetr {

// Who may do what in a school database on a server. Every pupil of a school connects with the
// same rights, so every pupil is a possible attacker of the others: the pupils' role may read
// the class list and store a run through one function, nothing else. It owns nothing, may not
// create anything, not even a temporary table, and reaches no other school's database on the
// same server: each school database has its own pair of roles.

struct SchoolRoles
{
    QString pupils;  // "<database>_zak": stores runs, reads the class list
    QString teacher; // "<database>_ucitel": owns the tables and the store function
};

// The name of the database the connection is to; empty when the server does not say.
QString connectedDatabase(QSqlDatabase& db);

// The roles of the school database of that name.
SchoolRoles schoolRolesOf(const QString& database);

// The roles every school database on a server shared before each had its own. A database made
// then keeps working with them; aktualizuj makes them members of the database's own roles.
inline constexpr char SharedPupilsRole[] = "voltmetr_zak";
inline constexpr char SharedTeacherRole[] = "voltmetr_ucitel";

// The call that stores a run: its identifier, the run's row and its tasks, each as a JSON object
// keyed by the columns' names. A run whose identifier is stored already is not stored again.
// Gives the surname's totals, this run included.
QString storeRunCall();

// Creates what is missing and sets every right, inside the caller's transaction, on a database
// made now or by any earlier version: the roles, the tables' owner, the run's unique id and the
// tasks' tie to it, the table of stored runs' identifiers, the store function, and the grants.
// Every statement may run again. On an older database, `changes` gets a Czech line for what
// changed there. Empty on success, else the reason.
QString establishServerRights(QSqlDatabase& db, QStringList& changes);

// Empty when the connection's role may store a run (through the function, or into the tables of
// a database made before the function existed); else the Czech reason.
QString checkMayStoreRun(QSqlDatabase& db);

// Sets role to the connection's role. Empty when the role may not change or delete stored
// results, as the pupils' role may not; else the Czech reason: every pupil could rewrite them.
QString checkMayNotChangeResults(QSqlDatabase& db, QString& role);

// Empty unless the connection reaches the server through a pooler in transaction mode, which
// would hand this connection's and a second one's statements to one server connection: then the
// Czech reason. A busy pooler may hand them to two, so only a quiet one is recognised for sure.
QString checkNotPooledByTransaction(QSqlDatabase& db, const QString& location);

// Whether the database has the store function: a database made before it stores runs as a file
// does, straight into the tables.
bool hasStoreFunction(QSqlDatabase& db);

// The lines of pg_hba.conf and pg_ident.conf that let the school's pupils and teacher log in
// without a password the pupils could read or change.
QString loginAdvice(const QString& database);

} // namespace voltmetr
