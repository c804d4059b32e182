#pragma once

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voltmetr::testing {

// Makes a file or a folder unwritable for as long as it lives. Permission bits do not stop
// root, so root marks it immutable instead, which root may not write either. A file system
// that allows neither fails the test: a case that cannot be shown is not passed over.
class Unwritable
{
public:
    explicit Unwritable(const QString& path) : m_path(QFile::encodeName(path))
    {
        struct stat status = {};
        m_shown = stat(m_path.constData(), &status) == 0;
        m_mode = status.st_mode & 07777;
        m_shown = m_shown && (geteuid() == 0 ? setImmutable(true)
                                             : chmod(m_path.constData(), m_mode & ~0222u) == 0);
        EXPECT_TRUE(m_shown) << path.toStdString() << " cannot be made unwritable here";
    }
    ~Unwritable()
    {
        if (m_shown &&
            !(geteuid() == 0 ? setImmutable(false) : chmod(m_path.constData(), m_mode) == 0)) {
            ADD_FAILURE() << m_path.constData() << " stays unwritable";
        }
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

private:
    bool setImmutable(bool on)
    {
        const int fd = open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) {
            close(fd);
        }
        return done;
    }

    QByteArray m_path;
    mode_t m_mode = 0;
    bool m_shown = false;
};

// Mounts a folder over itself read-only for as long as it lives, as a share that the school
// mounted read-only is. Only root may.
struct ReadOnlyMount
{
    explicit ReadOnlyMount(const QString& folder) : path(QFile::encodeName(folder))
    {
        EXPECT_TRUE(mount(path, path, nullptr, MS_BIND, nullptr) == 0 &&
                    mount(nullptr, path, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0)
            << path.constData() << " cannot be mounted read-only here";
    }
    ~ReadOnlyMount() { EXPECT_EQ(umount2(path, MNT_DETACH), 0) << path.constData(); }
    const QByteArray path;
};

} // namespace voltmetr::testing
