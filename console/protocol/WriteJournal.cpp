#include "console/protocol/WriteJournal.h"

#include "console/protocol/SnapshotCsv.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

WriteJournal::WriteJournal(QString path, qint64 maxBytes) : m_path(std::move(path)), m_maxBytes(maxBytes) {}

QString WriteJournal::olderPath() const {
    const QFileInfo info(m_path);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? m_path : m_path.left(m_path.size() - suffix.size() - 1);
    return stem + QStringLiteral(".1") + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

QString WriteJournal::headerLine() {
    return QStringLiteral("time,port,address,caption,value before,value written,reply\r\n");
}

QString WriteJournal::entryLine(const JournalEntry& e) {
    const QStringList fields = {e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                e.port,
                                QString::number(e.address),
                                e.caption,
                                e.valueBefore,
                                e.valueWritten,
                                e.reply};
    QStringList out;
    for (const QString& f : fields)
        out << CsvField(f);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

namespace {

// Holds an exclusive lock on the journal's folder for as long as it lives. Locking the folder
// rather than the file keeps the size check, the renaming to the older generation and the
// append one step for every process writing there, although renaming replaces the file.
class FolderLock {
public:
    explicit FolderLock(const QString& file) {
        const QByteArray folder = QFileInfo(file).absolutePath().toLocal8Bit();
        m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            return; // unlocked is still better than no record at all
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace

bool WriteJournal::append(const JournalEntry& entry, QString* error) {
    auto fail = [error](const char* what) {
        if (error)
            *error = QString::fromLocal8Bit(what) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::strerror(errno));
        return false;
    };
    const QByteArray path = m_path.toLocal8Bit();
    const QByteArray line = entryLine(entry).toUtf8();
    const FolderLock lock(m_path);
    struct stat st {};
    qint64 size = ::stat(path.constData(), &st) == 0 ? st.st_size : 0;
    if (size > 0 && size + line.size() > m_maxBytes) {
        if (::rename(path.constData(), olderPath().toLocal8Bit().constData()) != 0)
            return fail("rename");
        size = 0;
    }
    const QByteArray bytes = size == 0 ? headerLine().toUtf8() + line : line;
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail("open");
    struct stat before {};
    ::fstat(fd, &before);
    const ssize_t n = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    const int writeErrno = errno;
    // A short write (a full disk) is taken back, so no half line is left for the next entry.
    if (n > 0 && n != bytes.size())
        (void)::ftruncate(fd, before.st_size);
    const bool closed = ::close(fd) == 0;
    if (n != bytes.size()) {
        errno = n < 0 ? writeErrno : ENOSPC;
        return fail("write");
    }
    return closed || fail("close");
}
