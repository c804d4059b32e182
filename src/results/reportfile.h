#pragma once

#include <QByteArray>
#include <QString>

namespace voltmetr {

// Writes bytes to path whole or not at all, replacing a file that is already there: when
// writing fails, the old file, if any, stays as it was. Returns an empty text, or the Czech
// reason why the file could not be written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// Writes the encoded report and one CR LF to path as single bytes, as writeWholeFile does.
QString writeReportFile(const QString& path, const QString& reportText);

} // namespace voltmetr
