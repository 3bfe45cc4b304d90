#pragma once

#include "console/protocol/SessionLogLine.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The session log: every block sent and received, one line each, in a file of its own per
// session in a folder ("session-YYYYMMDD-HHMMSS-001.log", then "-002"... when a file reaches
// its size limit). The receive path only copies the block into a queue; a thread of the log
// formats and writes, so a slow disk never slows the window. Should the disk fall far behind,
// blocks beyond a bound are left out and the file says how many. A write the disk refuses (a
// full disk, an I/O error) ends the log: what was written stays in the file, later blocks are
// not taken, and the failure is reported once, never silently passed over.
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

    struct Failure {
        QString file; // the file a write into failed
        int err = 0;  // its errno
    };
    // Called once, on the log's own thread, when a write fails; the receiver must hand the
    // news over to its own thread. Set before the first append.
    void onFailure(std::function<void(const Failure&)> handler);
    // The failure that ended the log; err 0 while it works.
    Failure failure() const;

private:
    struct Entry {
        qint64 msecsSinceEpoch;
        WireDirection direction;
        QByteArray bytes;
    };
    void run();
    void writeBatch(const std::deque<Entry>& batch, qint64 dropped);
    // False once a write has failed; the log has then stopped.
    bool writeOut(QByteArray& text);
    void fail(int err);
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
    Failure m_failure;
    std::function<void(const Failure&)> m_onFailure;

    // Owned by the writer thread once started.
    SessionLogLineWriter m_lines;
    int m_fd = -1;
    int m_part = 1;
    qint64 m_fileBytes = 0;
    QString m_currentFile;
    std::thread m_thread;
};
