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

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
constexpr qsizetype kFields = 7;

// A field on one line: a reader takes each line for one entry.
QString oneLine(QString field) {
    return field.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

QString WriteJournal::entryLine(const JournalEntry& e) {
    const QStringList fields = {e.time.toString(kTimeFormat),
                                e.port,
                                QString::number(e.address),
                                e.caption,
                                e.valueBefore.isEmpty() ? QString::fromLatin1(kUnknownBefore) : e.valueBefore,
                                e.valueWritten,
                                e.reply.isEmpty() ? QString::fromLatin1(kNoAnswer) : e.reply};
    QStringList out;
    for (const QString& f : fields)
        out << CsvField(oneLine(f));
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
    const int fd = ::open(path.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail("open");
    struct stat before {};
    ::fstat(fd, &before);
    QByteArray out = bytes;
    // A line a crash left without its end is closed first, so this entry stays a line of its own.
    char last = '\n';
    if (before.st_size > 0 && ::pread(fd, &last, 1, before.st_size - 1) == 1 && last != '\n')
        out.prepend("\r\n");
    const ssize_t n = ::write(fd, out.constData(), static_cast<size_t>(out.size()));
    const int writeErrno = errno;
    // A short write (a full disk) is taken back, so no half line is left for the next entry.
    if (n > 0 && n != out.size())
        (void)::ftruncate(fd, before.st_size);
    // On the disk before the caller goes on: the journal is what is left after a power cut.
    const bool synced = n == out.size() && ::fsync(fd) == 0;
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (n != out.size()) {
        errno = n < 0 ? writeErrno : ENOSPC;
        return fail("write");
    }
    if (!synced) {
        errno = syncErrno;
        return fail("fsync");
    }
    return closed || fail("close");
}

WriteJournal::Contents WriteJournal::read(const QByteArray& bytes) {
    Contents contents;
    const QList<QByteArray> lines = bytes.split('\n');
    // The last piece is what follows the last line end: empty for a whole file, else a torn line.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        const bool ended = i + 1 < lines.size();
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() && !ended)
            break;
        const QString text = QString::fromUtf8(line);
        if (i == 0 && text + QStringLiteral("\r\n") == headerLine())
            continue;
        int unclosed = 0;
        const QList<QStringList> records = SplitCsv(text, QLatin1Char(','), nullptr, &unclosed);
        const QDateTime time = records.size() == 1 && records[0].size() == kFields
                                   ? QDateTime::fromString(records[0][0], kTimeFormat)
                                   : QDateTime();
        bool addressOk = false;
        const qint32 address = time.isValid() ? records[0][2].toInt(&addressOk) : 0;
        if (!ended || unclosed || !addressOk || text.contains(QChar::ReplacementCharacter)) {
            contents.tornLines << static_cast<int>(i) + 1;
            continue;
        }
        const QStringList& f = records[0];
        JournalEntry e{time, f[1], address, f[3], f[4], f[5], f[6]};
        if (e.valueBefore == QLatin1String(kUnknownBefore))
            e.valueBefore.clear();
        if (e.reply == QLatin1String(kNoAnswer))
            e.reply.clear();
        contents.entries << e;
    }
    return contents;
}
