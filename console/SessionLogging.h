#pragma once

#include "config/Language.h"

#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <memory>

class DeviceSession;
class QCheckBox;
class SessionLog;
enum class WireDirection;

struct SessionLoggingControls {
    QCheckBox* enabled = nullptr; // ticked while a session is logged
};

// The session log as the person runs it: ticking the box starts a new file (one session, one
// file) in the log folder, unticking it ends the file; every block the device engine sends
// or receives meanwhile goes into it. A disk that refuses a write ends the log, unticks the
// box and says so once.
class SessionLogging : public QObject {
    Q_OBJECT
public:
    // Logs what device sends and receives; folder: where the files go (made when missing).
    SessionLogging(const SessionLoggingControls& controls, DeviceSession& device, const QString& folder,
                   QObject* parent = nullptr);
    ~SessionLogging() override;

    void setLanguage(Language language) { m_language = language; }
    // The folder for the next session (the configuration file moved).
    void setFolder(const QString& folder) { m_folder = folder; }
    const QString& folder() const { return m_folder; }

    // Follows the box: starts a session when ticked, ends the one running when not.
    void followBox();
    // A block into the running session, if one runs.
    void log(WireDirection direction, QByteArrayView bytes);
    // The session running now, or none.
    SessionLog* session() const { return m_session.get(); }
    // Shows the log folder in the desktop's file manager, made first if missing.
    void openFolder();

private:
    void start();
    void failed(const QString& file, int err);

    SessionLoggingControls m_controls;
    QString m_folder;
    Language m_language;
    // The log's thread reports a failure through a queued call; the log lives while it may.
    std::shared_ptr<SessionLog> m_session;
};
