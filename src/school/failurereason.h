#pragma once

#include <QLoggingCategory>
#include <QString>

class QSqlError;

namespace voltmetr {

// Short Czech reasons for what can go wrong with the school database, to follow "Důvod: " in a
// message. Neither a pupil nor a teacher reads the engine's English, so that goes to the log
// only (category voltmetr.database), for whoever looks after the school's computers.
Q_DECLARE_LOGGING_CATEGORY(lcDatabase)

// Logs the engine's own words and gives the Czech reason.
QString databaseFailureReason(const QSqlError& error);

// Whether a reason says that another computer held the database: the one failure that waiting
// and trying again can mend.
bool meansHeldByAnother(const QString& reason);

// Whether an attempt that failed so may be made again: the database was busy with others, a
// server refused a connection for lack of slots or while starting, or the connection broke, so
// that the work may have landed or not. On a server only work that is stored once however often
// it is sent may be sent again after that: a unique key on it fails as 23505, which is retried to
// read back what the first attempt stored.
bool mayTryAgain(const QSqlError& error, bool server);

// The error of a server connection that the driver opened although a pooler had closed it while
// it waited in the pooler's queue (query_wait_timeout): a busy server, to try again.
QSqlError closedWhileOpeningError();

// The Czech reason for a connection pooler that hands each transaction to whichever server
// connection is free: what a connection sets for itself, and its prepared statements, would
// meet other computers' transactions.
QString transactionPoolingReason();

// The Czech reasons for a table or a column of a table that the database lacks.
QString missingTableReason(const QString& table);
QString missingColumnReason(const QString& table, const QString& column);

} // namespace voltmetr
