#include "console/Receiving.h"

#include "console/ReceiveLogView.h"
#include "console/protocol/ReceivedBlock.h"
#include "device/DeviceSession.h"
#include "ui/MessageBoxes.h"
#include "ui/ShowingErrors.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <QSaveFile>
#include <QTime>

// The view names what left it in the current language; the hexadecimal form is drawn in a
// fixed-pitch font, so its columns line up.
Receiving::Receiving(const ReceivingControls& controls, DeviceSession& device, QObject* parent)
    : QObject(parent), m_controls(controls) {
    m_controls.view->setDroppedNotice([this](qint64 dropped) {
        // The count can pass what a plural form takes; the number is put in as text.
        return m_language.translate("Receiving", "[... the oldest %1 characters are no longer shown ...]")
            .arg(dropped);
    });
    m_controls.view->setFixedPitch(m_controls.hex->isChecked());
    connect(m_controls.hex, &QRadioButton::toggled, m_controls.view, &ReceiveLogView::setFixedPitch);
    connect(&device, &DeviceSession::received, this,
            [this](const QByteArray& block) { runShowingErrors([&] { show(block); }); });
}

void Receiving::show(QByteArrayView block) {
    ReceiveLogView* view = m_controls.view;
    if (m_controls.autoClear->isChecked() && ShouldAutoClear(view->length()))
        view->clear();
    if (m_controls.showTime->isChecked())
        view->appendText(TimeStampPrefix(QTime::currentTime(), RegionalFormats::system()));
    if (m_controls.text->isChecked())
        view->appendLatin1(block);
    else
        view->appendHex(block);
}

void Receiving::clear() {
    m_controls.view->clear();
}

void Receiving::followWrapping() {
    const bool wrap = m_controls.autoNewLine->isChecked();
    m_controls.view->setWrapping(wrap);
    m_controls.view->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

QString Receiving::saveTo(const QString& path) const {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(m_controls.view->toPlainText().toUtf8());
        if (file.commit())
            return {};
    }
    return file.errorString();
}

void Receiving::saveAsked() {
    const QString path = messagePresenter().chooseFile(
        MessagePresenter::FileUse::Save, m_language.translate("SessionLogging", "Save receive box"),
        QDir::home().filePath(QStringLiteral("receive.txt")), QString());
    if (path.isEmpty())
        return;
    const QString error = saveTo(path);
    if (!error.isEmpty())
        showMessage(m_language.translate("SessionLogging", "%1 could not be written: %2").arg(path, error));
}
