#include "console/SessionLog.h"

#include "comm/posix/WriteAll.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

SessionLog::SessionLog(const QString& folder, qint64 rotateBytes)
    : m_folder(folder), m_rotateBytes(rotateBytes) {
    if (!QDir().mkpath(folder)) {
        m_error = folder;
        return;
    }
    m_baseName = QStringLiteral("session-") +
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!openNext()) {
        m_error = QDir(folder).filePath(m_baseName + QStringLiteral("-001.log"));
        return;
    }
    m_thread = std::thread([this] { run(); });
}

SessionLog::~SessionLog() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SessionLog::currentFile() const {
    std::lock_guard lock(m_mutex);
    return m_currentFile;
}

bool SessionLog::openNext() {
    // Numbered from the first part on, so that the parts sort in the order they were written.
    const QString name = m_baseName + QStringLiteral("-%1").arg(m_part, 3, 10, QLatin1Char('0'));
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".log"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false; // a failed rotation goes on in the file it has
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_fileBytes = 0;
    std::lock_guard lock(m_mutex);
    m_currentFile = path;
    return true;
}

void SessionLog::onFailure(std::function<void(const Failure&)> handler) {
    std::lock_guard lock(m_mutex);
    m_onFailure = std::move(handler);
}

SessionLog::Failure SessionLog::failure() const {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

void SessionLog::append(WireDirection direction, QByteArrayView bytes) {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_failure.err != 0)
            return;
        if (m_queuedBytes + bytes.size() > kMaxQueuedBytes) {
            ++m_droppedBlocks;
            return;
        }
        m_queue.push_back({QDateTime::currentMSecsSinceEpoch(), direction, bytes.toByteArray()});
        m_queuedBytes += bytes.size();
    }
    m_wake.notify_one();
}

void SessionLog::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return (m_queue.empty() && !m_writing) || !m_thread.joinable(); });
}

void SessionLog::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty() && m_stop)
            break;
        std::deque<Entry> batch;
        batch.swap(m_queue);
        m_queuedBytes = 0;
        const qint64 dropped = std::exchange(m_droppedBlocks, 0);
        m_writing = true;
        lock.unlock();

        writeBatch(batch, dropped);

        lock.lock();
        m_writing = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_writing = false;
    m_idle.notify_all();
}

// Formats a batch in pieces of about a megabyte, so that a batch of a fast stream does not
// hold five times its size in text at once.
void SessionLog::writeBatch(const std::deque<Entry>& batch, qint64 dropped) {
    constexpr qsizetype kPiece = 1024 * 1024;
    QByteArray text;
    text.reserve(kPiece + 64 * 1024);
    if (dropped > 0)
        text += "# " + QByteArray::number(dropped) + " blocks were left out: the disk fell behind\n";
    for (const Entry& e : batch) {
        m_lines.append(text, e.msecsSinceEpoch, e.direction, e.bytes);
        if (m_fileBytes + text.size() >= m_rotateBytes) {
            if (!writeOut(text))
                return;
            ++m_part;
            openNext();
        } else if (text.size() >= kPiece) {
            if (!writeOut(text))
                return;
        }
    }
    writeOut(text);
}

bool SessionLog::writeOut(QByteArray& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_failure.err != 0)
            return false;
    }
    errno = 0;
    if (!text.isEmpty() &&
        !posixcomm::WriteAll(m_fd, text.constData(), static_cast<std::size_t>(text.size()))) {
        // A write cut short by a full disk reports the room it found, then ENOSPC; a zero-byte
        // write has no errno of its own.
        fail(errno != 0 ? errno : ENOSPC);
        return false;
    }
    m_fileBytes += text.size();
    text.resize(0); // keeps the space for the next piece
    return true;
}

void SessionLog::fail(int err) {
    std::function<void(const Failure&)> handler;
    Failure failure;
    {
        std::lock_guard lock(m_mutex);
        m_failure = {m_currentFile, err};
        failure = m_failure;
        handler = m_onFailure;
        // Nothing more will be written; blocks still queued are let go.
        m_queue.clear();
        m_queuedBytes = 0;
    }
    if (handler)
        handler(failure);
}
