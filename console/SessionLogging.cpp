#include "app/MainFrm.h"

#include "console/ReceiveLogView.h"
#include "console/SessionLog.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
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
    Session = std::move(log);
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
