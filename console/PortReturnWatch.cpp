#include "console/PortReturnWatch.h"

#include <QDir>
#include <QFileInfo>

PortReturnWatch::PortReturnWatch(const QString& path, std::function<bool()> tryOpen, QObject* parent)
    : QObject(parent), m_path(path), m_tryOpen(std::move(tryOpen)) {
    m_retry.setInterval(1000);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { check(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { check(); });
    watchNearestFolder();
    // The device may already be back by the time the watch is set up.
    QTimer::singleShot(0, this, [this] { check(); });
}

QString PortReturnWatch::watchedFolder() const {
    const QStringList folders = m_watcher.directories();
    return folders.isEmpty() ? QString() : folders.first();
}

bool PortReturnWatch::watchNearestFolder() {
    QString folder = QFileInfo(m_path).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    if (watchedFolder() == folder)
        return false;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watcher.addPath(folder);
    return true;
}

void PortReturnWatch::check() {
    if (m_done)
        return;
    // QFileInfo::exists follows links: a by-id link to a node not yet made does not count.
    // A folder below may have come back before the watch moved onto its parent, unseen: look
    // again until the watch holds still.
    while (watchNearestFolder()) {
    }
    if (!QFileInfo::exists(m_path)) {
        m_retry.stop();
        return;
    }
    if (m_tryOpen()) {
        m_done = true;
        m_watcher.removePaths(m_watcher.directories());
        m_retry.stop();
        return;
    }
    m_retry.start();
}
