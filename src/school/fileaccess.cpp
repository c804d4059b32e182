#include "school/fileaccess.h"

#include "app/filewrite.h"
#include "school/failurereason.h"
#include "school/schooldatabase.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace voltmetr {

namespace {

// The reason, with what the pupil would have lost, and the system's own words for the log.
QString refused(const QString& path, const QString& reason, int systemError)
{
    qCWarning(lcDatabase).noquote()
        << QStringLiteral("Do databáze %1 by se výsledky neuložily: %2 (%3)")
               .arg(path, reason, QString::fromLocal8Bit(std::strerror(systemError)));
    return reason + QStringLiteral(", tvůj výsledek by se do databáze neuložil");
}

} // namespace

QString fileStorageProblem(const QString& path)
{
    if (isServerLocation(path)) {
        return {};
    }
    // The engine follows a link to the file it names and keeps its journal beside that file.
    const QFileInfo given(path);
    const QFileInfo file(given.exists() ? given.canonicalFilePath() : given.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    const QString journal = file.fileName() + QStringLiteral("-journal");

    // A share or disk mounted read-only refuses everything below: name it rather than the
    // first file it refuses.
    struct statvfs disk = {};
    if (statvfs(folder.constData(), &disk) == 0 && (disk.f_flag & ST_RDONLY) != 0) {
        return refused(path,
                       QStringLiteral("úložiště s databází (disk nebo sdílená složka) je "
                                      "připojeno jen pro čtení"),
                       EROFS);
    }

    // The kernel's own answer for the ids the program runs with, not the permission bits: they
    // would wrong root both ways. The file is not opened, so no descriptor of ours can ever drop
    // the engine's locks on it when it closes.
    if (euidaccess(QFile::encodeName(path).constData(), W_OK) != 0) {
        const int error = errno;
        return refused(path,
                       error == EACCES || error == EPERM
                           ? QStringLiteral("soubor databáze je jen pro čtení")
                           : QStringLiteral("soubor databáze nejde otevřít pro zápis: %1")
                                 .arg(fileFailureReason(QFileDevice::OpenError, error)),
                       error);
    }

    // The journal is created at each save and deleted after it, so the folder is tried for
    // both with a file that no engine and no other computer would take for its own.
    QByteArray probe = folder + '/' + QFile::encodeName(file.fileName()) + "-zkouska-XXXXXX";
    const int fd = mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return refused(path,
                       error == EACCES || error == EPERM
                           ? QStringLiteral("ve složce s databází nelze vytvářet soubory a "
                                            "databáze si v ní při ukládání zakládá soubor „%1“")
                                 .arg(journal)
                           : QStringLiteral("ve složce s databází nejde vytvořit soubor: %1")
                                 .arg(fileFailureReason(QFileDevice::OpenError, error)),
                       error);
    }
    close(fd);
    if (unlink(probe.constData()) != 0) {
        const int error = errno;
        qCWarning(lcDatabase).noquote()
            << QStringLiteral("Zkušební soubor %1 zůstal ve složce databáze, smažte ho.")
                   .arg(QFile::decodeName(probe));
        return refused(path,
                       QStringLiteral("ve složce s databází nelze mazat soubory a databáze "
                                      "z ní po uložení maže soubor „%1“")
                           .arg(journal),
                       error);
    }
    return {};
}

} // namespace voltmetr
