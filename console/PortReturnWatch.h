#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Waits, without polling, for a device node that went away to be there again: a USB adapter
// plugged back in, or its /dev/serial/by-id link made again. The folder holding the path is
// watched; while that folder is itself gone (by-id disappears with the last adapter) the
// nearest folder above it is, and the watch moves down as folders come back.
//
// Each time the path exists, tryOpen is asked to open it; it returns true when done. A node
// can appear a moment before its permissions are set, so while the path exists but cannot be
// opened yet, tryOpen is asked again once a second.
class PortReturnWatch : public QObject {
public:
    PortReturnWatch(const QString& path, std::function<bool()> tryOpen, QObject* parent = nullptr);

    const QString& path() const { return m_path; }
    // The folder watched now (for tests).
    QString watchedFolder() const;

private:
    void check();
    bool watchNearestFolder(); // true when the watch moved

    QString m_path;
    std::function<bool()> m_tryOpen;
    QFileSystemWatcher m_watcher;
    QTimer m_retry;
    bool m_done = false;
};
