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
#ifdef Q_OS_WIN
#include <QDir>
#include <io.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>
#else
#include <sys/statvfs.h>
#include <unistd.h>
#endif

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

// True when the disk or share that holds folder takes no writes at all.
bool onReadOnlyVolume(const QString& folder)
{
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(folder).toStdWString();
    wchar_t volume[MAX_PATH + 1] = {};
    DWORD flags = 0;
    return GetVolumePathNameW(native.c_str(), volume, MAX_PATH + 1) &&
           GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_READ_ONLY_VOLUME) != 0;
#else
    struct statvfs disk = {};
    return statvfs(QFile::encodeName(folder).constData(), &disk) == 0 &&
           (disk.f_flag & ST_RDONLY) != 0;
#endif
}

// 0 when this program may write the file, otherwise the system's error number.
int writeRefusal(const QString& path)
{
#ifdef Q_OS_WIN
    // Only opening asks Windows' access list. A handle of ours holds none of the engine's locks,
    // which belong to the engine's own handle, so closing it drops none.
    const int fd = _wopen(path.toStdWString().c_str(), _O_RDWR | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        return errno;
    }
    _close(fd);
    return 0;
#else
    // The kernel's own answer for the ids the program runs with, not the permission bits: they
    // would wrong root both ways. The file is not opened, so no descriptor of ours can ever drop
    // the engine's locks on it when it closes.
    return euidaccess(QFile::encodeName(path).constData(), W_OK) == 0 ? 0 : errno;
#endif
}

// Creates a new file named after probe with its trailing XXXXXX made unique, and closes it;
// false with errno set when it cannot.
bool createProbe(QString& probe)
{
#ifdef Q_OS_WIN
    std::wstring name = QDir::toNativeSeparators(probe).toStdWString();
    if (_wmktemp_s(name.data(), name.size() + 1) != 0) {
        return false;
    }
    probe = QDir::fromNativeSeparators(QString::fromStdWString(name));
    const int fd = _wopen(name.c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return false;
    }
    _close(fd);
    return true;
#else
    QByteArray name = QFile::encodeName(probe);
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    probe = QFile::decodeName(name);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
#endif
}

bool removeProbe(const QString& probe)
{
#ifdef Q_OS_WIN
    return _wunlink(QDir::toNativeSeparators(probe).toStdWString().c_str()) == 0;
#else
    return unlink(QFile::encodeName(probe).constData()) == 0;
#endif
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
    const QString folder = file.absolutePath();
    const QString journal = file.fileName() + QStringLiteral("-journal");

    // A share or disk mounted read-only refuses everything below: name it rather than the
    // first file it refuses.
    if (onReadOnlyVolume(folder)) {
        return refused(path,
                       QStringLiteral("úložiště s databází (disk nebo sdílená složka) je "
                                      "připojeno jen pro čtení"),
                       EROFS);
    }

    if (const int error = writeRefusal(path); error != 0) {
        return refused(path,
                       error == EACCES || error == EPERM
                           ? QStringLiteral("soubor databáze je jen pro čtení")
                           : QStringLiteral("soubor databáze nejde otevřít pro zápis: %1")
                                 .arg(fileFailureReason(QFileDevice::OpenError, error)),
                       error);
    }

    // The journal is created at each save and deleted after it, so the folder is tried for
    // both with a file that no engine and no other computer would take for its own.
    QString probe = folder + u'/' + file.fileName() + QStringLiteral("-zkouska-XXXXXX");
    if (!createProbe(probe)) {
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
    if (!removeProbe(probe)) {
        const int error = errno;
        qCWarning(lcDatabase).noquote()
            << QStringLiteral("Zkušební soubor %1 zůstal ve složce databáze, smažte ho.")
                   .arg(probe);
        return refused(path,
                       QStringLiteral("ve složce s databází nelze mazat soubory a databáze "
                                      "z ní po uložení maže soubor „%1“")
                           .arg(journal),
                       error);
    }
    return {};
}

} // namespace voltmetr
