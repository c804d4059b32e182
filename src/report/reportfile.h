#pragma once

#include <QString>

namespace voltmetr {

// Writes the encoded report and one CR LF to path as single bytes, as writeWholeFile does
// (app/filewrite.h).
QString writeReportFile(const QString& path, const QString& reportText);

} // namespace voltmetr
