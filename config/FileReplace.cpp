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

QString FileErrorText(int err, Language language) {
    const auto text = [language](const char* source) { return language.translate("FileReplace", source); };
    switch (err) {
    case ENOSPC:
        return text(QT_TRANSLATE_NOOP("FileReplace", "no space left on the disk"));
    case EDQUOT:
        return text(QT_TRANSLATE_NOOP("FileReplace", "the disk quota is used up"));
    case EACCES:
    case EPERM:
        return text(QT_TRANSLATE_NOOP("FileReplace", "permission denied"));
    case EROFS:
        return text(QT_TRANSLATE_NOOP("FileReplace", "read-only file system"));
    case EFBIG:
        return text(
            QT_TRANSLATE_NOOP("FileReplace", "file too large for the file system or the limits of this run"));
    case EIO:
        return text(QT_TRANSLATE_NOOP("FileReplace", "input/output error of the disk"));
    case EISDIR:
        return text(QT_TRANSLATE_NOOP("FileReplace", "it is a folder, not a file"));
    case EINVAL:
        return text(
            QT_TRANSLATE_NOOP("FileReplace", "it is not a regular file but a pipe, device or socket"));
    case ELOOP:
        return text(QT_TRANSLATE_NOOP("FileReplace", "its symbolic links lead round in a circle"));
    default:
        // The system's own words for the rare rest, in the desktop's language: better than a
        // bare number, and no catalogue knows them all.
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

int WriteProblem(const QString& path) {
    int linkError = 0;
    const QString resolved = SaveTarget(path, &linkError);
    if (resolved.isEmpty())
        return linkError;
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray folder = QFile::encodeName(QFileInfo(resolved).absolutePath());
    if (const int err = notRegular(target))
        return err;
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return errno;
    if (::access(target.constData(), W_OK) != 0 && errno != ENOENT)
        return errno;
    return 0;
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
