#include "app/MainFrm.h"

#include "config/FileReplace.h"
#include "console/ReceiveLogView.h"
#include "console/SessionLog.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QSaveFile>
#include <QUrl>

QString TForm_Main::LogFolder() const {
    return AppDir + QStringLiteral("logs");
}

void TForm_Main::LogWire(bool sent, const char* bytes, qsizetype count) {
    if (Session)
        Session->append(sent ? WireDirection::Sent : WireDirection::Received, QByteArrayView(bytes, count));
}

// Each tick of the box starts a new file, so that one session is one file.
void TForm_Main::chk_SessionLogClick() {
    if (!chk_SessionLog->isChecked()) {
        Session.reset(); // writes what is queued and closes the file
        return;
    }
    auto log = std::make_shared<SessionLog>(LogFolder());
    if (!log->error().isEmpty()) {
        const QString path = log->error();
        chk_SessionLog->setChecked(false);
        showMessage(
            language()
                .translate("SessionLogging", "The session log %1 could not be created; nothing is logged.")
                .arg(path));
        return;
    }
    // The log's thread hands the news to the window's; a window gone by then hears nothing.
    QPointer<TForm_Main> window(this);
    log->onFailure([window](const SessionLog::Failure& failure) {
        QMetaObject::invokeMethod(
            window,
            [window, failure] {
                if (window)
                    window->sessionLogFailed(failure.file, failure.err);
            },
            Qt::QueuedConnection);
    });
    Session = std::move(log);
}

void TForm_Main::sessionLogFailed(const QString& file, int err) {
    if (!Session || Session->failure().file != file)
        return; // a log the user already stopped, or a newer one
    Session.reset();
    chk_SessionLog->setChecked(false);
    const QString reason = FileErrorText(err, language());
    showMessage(language()
                    .translate("SessionLogging",
                               "The session log could not be written to %1: %2. Logging has "
                               "stopped; what was written before stays in the file.")
                    .arg(file, reason));
}

void TForm_Main::btn_OpenLogsClick() {
    QDir().mkpath(LogFolder());
    QDesktopServices::openUrl(QUrl::fromLocalFile(LogFolder()));
}

QString TForm_Main::SaveReceiveBoxTo(const QString& path) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(mmo_RX->toPlainText().toUtf8());
        if (file.commit())
            return {};
    }
    return file.errorString();
}

void TForm_Main::btn_SaveRxClick() {
    const QString path =
        QFileDialog::getSaveFileName(this, language().translate("SessionLogging", "Save receive box"),
                                     QDir::home().filePath(QStringLiteral("receive.txt")));
    if (path.isEmpty())
        return;
    const QString error = SaveReceiveBoxTo(path);
    if (!error.isEmpty())
        showMessage(language().translate("SessionLogging", "%1 could not be written: %2").arg(path, error));
}
