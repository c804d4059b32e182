#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voltmetr::testing {

// Makes a file or a folder unwritable for as long as it lives. Permission bits do not stop
// root, so root marks it immutable instead (which root may not write either), where the file
// system allows; shown() tells whether either way worked.
class Unwritable
{
public:
    explicit Unwritable(const QString& path) : m_path(QFile::encodeName(path))
    {
        if (geteuid() != 0) {
            struct stat status = {};
            if (stat(m_path.constData(), &status) == 0) {
                m_mode = status.st_mode & 07777;
                m_shown = chmod(m_path.constData(), m_mode & ~0222u) == 0;
            }
            return;
        }
        m_shown = setImmutable(true);
    }
    ~Unwritable()
    {
        if (!m_shown) {
            return;
        }
        if (geteuid() != 0) {
            chmod(m_path.constData(), m_mode);
        } else {
            setImmutable(false);
        }
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    bool shown() const { return m_shown; }

private:
    bool setImmutable(bool on)
    {
        const int fd = open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(fd);
        return done;
    }

    QByteArray m_path;
    mode_t m_mode = 0;
    bool m_shown = false;
};

} // namespace voltmetr::testing
