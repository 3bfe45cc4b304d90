#include "console/SessionLogging.h"

#include "config/FileReplace.h"
#include "console/SessionLog.h"
#include "device/DeviceSession.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QUrl>

SessionLogging::SessionLogging(const SessionLoggingControls& controls, DeviceSession& device,
                               const QString& folder, QObject* parent)
    : QObject(parent), m_controls(controls), m_folder(folder) {
    connect(&device, &DeviceSession::sent, this,
            [this](const QByteArray& bytes) { log(WireDirection::Sent, bytes); });
    connect(&device, &DeviceSession::received, this,
            [this](const QByteArray& block) { log(WireDirection::Received, block); });
}

// Writes what is queued and closes the file.
SessionLogging::~SessionLogging() = default;

void SessionLogging::log(WireDirection direction, QByteArrayView bytes) {
    if (m_session)
        m_session->append(direction, bytes);
}

void SessionLogging::followBox() {
    if (m_controls.enabled->isChecked())
        start();
    else
        m_session.reset(); // writes what is queued and closes the file
}

// Each tick of the box starts a new file, so that one session is one file.
void SessionLogging::start() {
    auto log = std::make_shared<SessionLog>(m_folder);
    if (!log->error().isEmpty()) {
        const QString path = log->error();
        m_controls.enabled->setChecked(false);
        showMessage(
            m_language
                .translate("SessionLogging", "The session log %1 could not be created; nothing is logged.")
                .arg(path));
        return;
    }
    // The log's thread hands the news to this one; a part gone by then hears nothing.
    QPointer<SessionLogging> self(this);
    log->onFailure([self](const SessionLog::Failure& failure) {
        QMetaObject::invokeMethod(
            self,
            [self, failure] {
                if (self)
                    self->failed(failure.file, failure.err);
            },
            Qt::QueuedConnection);
    });
    m_session = std::move(log);
}

void SessionLogging::failed(const QString& file, int err) {
    if (!m_session || m_session->failure().file != file)
        return; // a log the user already stopped, or a newer one
    m_session.reset();
    m_controls.enabled->setChecked(false);
    const QString reason = FileErrorText(err, m_language);
    showMessage(m_language
                    .translate("SessionLogging",
                               "The session log could not be written to %1: %2. Logging has "
                               "stopped; what was written before stays in the file.")
                    .arg(file, reason));
}

void SessionLogging::openFolder() {
    QDir().mkpath(m_folder);
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder));
}
