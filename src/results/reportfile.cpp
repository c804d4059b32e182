#include "results/reportfile.h"

#include "results/failurereason.h"

#include <QSaveFile>
#include <cerrno>

namespace voltmetr {

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Cleared before each step, so that what errno holds after a failure belongs to it.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return fileFailureReason(file, errno);
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const QString reason = fileFailureReason(file, errno);
        file.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!file.commit()) {
        return fileFailureReason(file, errno);
    }
    return {};
}

QString writeReportFile(const QString& path, const QString& reportText)
{
    // The report is hex digits, blanks and line breaks: ASCII, one byte per character.
    return writeWholeFile(path, reportText.toLatin1() + QByteArrayLiteral("\r\n"));
}

} // namespace voltmetr
