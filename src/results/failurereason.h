#pragma once

#include <QFileDevice>
#include <QLoggingCategory>
#include <QString>

class QSqlError;

namespace voltmetr {

// Short Czech reasons for what can go wrong with the school database and with the files that
// pupils and teachers write, to follow "Důvod: " in a message. Neither a pupil nor a teacher
// reads the engine's or the system's English, so that goes to the log only (categories
// voltmetr.database and voltmetr.file), for whoever looks after the school's computers.
Q_DECLARE_LOGGING_CATEGORY(lcDatabase)

// Logs the engine's own words and gives the Czech reason.
QString databaseFailureReason(const QSqlError& error);

// Whether a reason says that another computer held the database: the one failure that waiting
// and trying again can mend.
bool meansHeldByAnother(const QString& reason);

// The Czech reasons for a table or a column of a table that the database lacks.
QString missingTableReason(const QString& table);
QString missingColumnReason(const QString& table, const QString& column);

// Logs the file's name and the system's words and gives the Czech reason. systemError is the
// errno of the failed step, 0 when Qt refused the step itself without a system call failing
// (a folder where the file should be, a file that may not be replaced): then the path tells.
QString fileFailureReason(const QFileDevice& file, int systemError);

// The Czech reason alone: the system's error decides where it is known, else what failed.
QString fileFailureReason(QFileDevice::FileError error, int systemError);

} // namespace voltmetr
