#pragma once

#include "console/protocol/SessionLogLine.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// The session log: every block sent and received, one line each, in a file of its own per
// session in a folder ("session-YYYYMMDD-HHMMSS-001.log", then "-002"... when a file reaches
// its size limit). The receive path only copies the block into a queue; a thread of the log
// formats and writes, so a slow disk never slows the window. Should the disk fall far behind,
// blocks beyond a bound are left out and the file says how many.
class SessionLog {
public:
    static constexpr qint64 kDefaultRotateBytes = 16 * 1024 * 1024;
    static constexpr qint64 kMaxQueuedBytes = 64 * 1024 * 1024;

    // Starts a session in folder (made when missing); error() names a failure to start.
    explicit SessionLog(const QString& folder, qint64 rotateBytes = kDefaultRotateBytes);
    ~SessionLog(); // writes what is queued, then closes
    SessionLog(const SessionLog&) = delete;
    SessionLog& operator=(const SessionLog&) = delete;

    void append(WireDirection direction, QByteArrayView bytes);
    // Waits until everything appended so far is in the file (for tests and closing).
    void flush();

    const QString& error() const { return m_error; }
    // The file written now.
    QString currentFile() const;

private:
    struct Entry {
        qint64 msecsSinceEpoch;
        WireDirection direction;
        QByteArray bytes;
    };
    void run();
    void writeBatch(const std::deque<Entry>& batch, qint64 dropped);
    void writeOut(QByteArray& text);
    bool openNext();

    QString m_folder;
    QString m_baseName;
    qint64 m_rotateBytes;
    QString m_error;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Entry> m_queue;
    qint64 m_queuedBytes = 0;
    qint64 m_droppedBlocks = 0;
    bool m_writing = false;
    bool m_stop = false;

    // Owned by the writer thread once started.
    SessionLogLineWriter m_lines;
    int m_fd = -1;
    int m_part = 1;
    qint64 m_fileBytes = 0;
    QString m_currentFile;
    std::thread m_thread;
};
