#include "config/FileReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        data += n;
        left -= n;
    }
    return 0;
}

// Mode, owner and group for the new file: the old file's, or those of a new file.
void takeOver(int fd, const QByteArray& target) {
    struct stat old {};
    if (::stat(target.constData(), &old) == 0) {
        // Only root can give a file away; for anyone else the group may still be kept.
        if (::fchown(fd, ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1), old.st_gid) != 0) {
            // The file then belongs to the user saving it, as any new file would.
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
}

// Zero when the name is free or holds a regular file. Checked without opening it: opening a
// FIFO waits for the other side, and a device may act on being opened.
int notRegular(const QByteArray& target) {
    struct stat st {};
    if (::stat(target.constData(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    return S_ISREG(st.st_mode) ? 0 : EINVAL;
}

QMutex readOnlyMutex;
QHash<QString, QByteArray>& readOnlyPaths() {
    static QHash<QString, QByteArray> paths;
    return paths;
}

QString canonical(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QString SaveTarget(const QString& path, int* err) {
    // The same bound on a chain of links as the kernel's.
    constexpr int kMaxLinks = 40;
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return QDir::cleanPath(current);
        // One step at a time (a relative target counts from the link's own folder), so that a
        // link to a link ends at the file and a circle is noticed.
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return QDir::cleanPath(current);
        current = next;
    }
    if (err)
        *err = ELOOP;
    return {};
}

int ReplaceFileContent(const QString& path, const QByteArray& bytes) {
    int linkError = 0;
    const QString resolved = SaveTarget(path, &linkError);
    if (resolved.isEmpty())
        return linkError;
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray folder = QFile::encodeName(QFileInfo(resolved).absolutePath());
    if (const int err = notRegular(target))
        return err;
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    takeOver(fd, target);
    int err = writeAll(fd, bytes);
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temporary.constData());
        return err;
    }
    // The rename itself reaches the disk only with its folder.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

QString FileErrorText(int err) {
    switch (err) {
    case ENOSPC:
        return QStringLiteral("no space left on the disk (磁盘空间已满)");
    case EDQUOT:
        return QStringLiteral("the disk quota is used up (磁盘配额已用完)");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied (没有写入权限)");
    case EROFS:
        return QStringLiteral("read-only file system (只读文件系统)");
    case EFBIG:
        return QStringLiteral("file too large for the file system or the limits of this run (文件过大)");
    case EIO:
        return QStringLiteral("input/output error of the disk (磁盘读写错误)");
    case EISDIR:
        return QStringLiteral("it is a folder, not a file (这是文件夹，不是文件)");
    case EINVAL:
        return QStringLiteral("it is not a regular file but a pipe, device or socket (不是普通文件)");
    case ELOOP:
        return QStringLiteral("its symbolic links lead round in a circle (符号链接循环)");
    default:
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

QString WriteProblem(const QString& path) {
    int linkError = 0;
    const QString resolved = SaveTarget(path, &linkError);
    if (resolved.isEmpty())
        return FileErrorText(linkError);
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray folder = QFile::encodeName(QFileInfo(resolved).absolutePath());
    if (const int err = notRegular(target))
        return FileErrorText(err);
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return FileErrorText(errno);
    if (::access(target.constData(), W_OK) != 0 && errno != ENOENT)
        return FileErrorText(errno);
    return {};
}

void UseReadOnly(const QString& path) {
    QMutexLocker lock(&readOnlyMutex);
    readOnlyPaths().insert(canonical(path), QByteArray());
}

bool UsedReadOnly(const QString& path) {
    QMutexLocker lock(&readOnlyMutex);
    return readOnlyPaths().contains(canonical(path));
}

void KeepForRun(const QString& path, const QByteArray& bytes) {
    QMutexLocker lock(&readOnlyMutex);
    readOnlyPaths().insert(canonical(path), bytes);
}

QByteArray KeptForRun(const QString& path) {
    QMutexLocker lock(&readOnlyMutex);
    return readOnlyPaths().value(canonical(path));
}
