#pragma once

#include <QString>

namespace voltmetr {

// Writes the encoded report and one CR LF to path as single bytes, replacing a file that is
// already there. Returns an empty text, or the reason why the file could not be written (the
// old file, if any, is then left as it was).
QString writeReportFile(const QString& path, const QString& reportText);

} // namespace voltmetr
