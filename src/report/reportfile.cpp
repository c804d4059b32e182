#include "report/reportfile.h"

#include "app/filewrite.h"

namespace voltmetr {

QString writeReportFile(const QString& path, const QString& reportText)
{
    // The report is hex digits, blanks and line breaks: ASCII, one byte per character.
    return writeWholeFile(path, reportText.toLatin1() + QByteArrayLiteral("\r\n"));
}

} // namespace voltmetr
