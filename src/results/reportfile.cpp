#include "results/reportfile.h"

#include <QSaveFile>

namespace voltmetr {

QString writeReportFile(const QString& path, const QString& reportText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    // The report is hex digits, blanks and line breaks: ASCII, one byte per character.
    const QByteArray bytes = reportText.toLatin1() + QByteArrayLiteral("\r\n");
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace voltmetr
