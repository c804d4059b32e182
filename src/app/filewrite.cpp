#include "app/filewrite.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <cerrno>

namespace voltmetr {

namespace {

Q_LOGGING_CATEGORY(lcFile, "voltmetr.file")

QString systemReason(int systemError)
{
    switch (systemError) {
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen, chybí oprávnění");
    case ENOENT:
        return QStringLiteral("složka nebo soubor neexistuje");
    case ENOTDIR:
        return QStringLiteral("část cesty není složka");
    case EISDIR:
        return QStringLiteral("na tom místě je složka, ne soubor");
    case ENOSPC:
#ifdef EDQUOT // a user's disk quota; Windows' C library knows none
    case EDQUOT:
#endif
        return QStringLiteral("disk je plný");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENAMETOOLONG:
        return QStringLiteral("jméno souboru je příliš dlouhé");
    case EIO:
        return QStringLiteral("chyba disku nebo sítě");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("soubor právě používá jiný program");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("je otevřeno příliš mnoho souborů");
    default:
        return {};
    }
}

} // namespace

QString fileFailureReason(QFileDevice::FileError error, int systemError)
{
    if (const QString reason = systemReason(systemError); !reason.isEmpty()) {
        return reason;
    }
    QString reason;
    switch (error) {
    case QFileDevice::ReadError:
        reason = QStringLiteral("soubor nejde přečíst");
        break;
    case QFileDevice::WriteError:
        reason = QStringLiteral("soubor nejde zapsat");
        break;
    case QFileDevice::RenameError:
        reason = QStringLiteral("soubor nejde nahradit novým");
        break;
    case QFileDevice::OpenError:
    default:
        reason = QStringLiteral("soubor nejde otevřít");
        break;
    }
    if (systemError != 0) {
        reason += QStringLiteral(" (chyba systému č. %1)").arg(systemError);
    }
    return reason;
}

QString fileFailureReason(const QFileDevice& file, int systemError)
{
    qCWarning(lcFile).noquote() << QStringLiteral("%1: errno %2: %3")
                                       .arg(file.fileName())
                                       .arg(systemError)
                                       .arg(file.errorString());
    if (systemError == 0) {
        const QFileInfo target(file.fileName());
        if (target.isDir()) {
            systemError = EISDIR;
        } else if (target.exists() && !target.isWritable()) {
            systemError = EACCES;
        }
    }
    return fileFailureReason(file.error(), systemError);
}

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

} // namespace voltmetr
