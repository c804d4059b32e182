#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace voltmetr {

// Files that pupils and teachers write, and the short Czech reason, to follow "Důvod: ", when
// one cannot be written. The system's own English words go to the log only (category
// voltmetr.file), for whoever looks after the school's computers.

// Writes bytes to path whole or not at all, replacing a file that is already there: when
// writing fails, the old file, if any, stays as it was. Returns an empty text, or the Czech
// reason why the file could not be written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// Logs the file's name and the system's words and gives the Czech reason. systemError is the
// errno of the failed step, 0 when Qt refused the step itself without a system call failing
// (a folder where the file should be, a file that may not be replaced): then the path tells.
QString fileFailureReason(const QFileDevice& file, int systemError);

// The Czech reason alone: the system's error decides where it is known, else what failed.
QString fileFailureReason(QFileDevice::FileError error, int systemError);

} // namespace voltmetr
