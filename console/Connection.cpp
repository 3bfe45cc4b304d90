#include "app/MainFrm.h"

#include "comm/SerialComm.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/OpenFailure.h"
#include "config/StrToInt.h"
#include "console/AutoReading.h"
#include "console/ConsoleWiring.h"
#include "console/PortReturnWatch.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"
#include "ui/Controls.h"
#include "ui/Lamps.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTimer>
#include <cstring>

namespace {

constexpr int kFlashMs = 200;

// Marks the port box's entries that were found on this machine rather than configured.
constexpr int kDeviceRole = Qt::UserRole + 1;

QString connectCaptionOf(const TForm_Main& form) {
    // The built-in caption for language tables that do not name btn_Connect.
    return form.ConnectCaption.isEmpty()
               ? builtInCaption(form.btn_Connect, form.language()).value_or(QString())
               : form.ConnectCaption;
}

QString disconnectCaptionOf(const TForm_Main& form) {
    return form.DisconnectCaption.isEmpty() ? form.language().translate("Connection", "Disconnect")
                                            : form.DisconnectCaption;
}

QString waitingCaption(const TForm_Main& form) {
    return form.language().translate("Connection", "Waiting…");
}

QString waitingText(const TForm_Main& form, const QString& port) {
    return form.language()
        .translate("Connection", "Waiting for %1 to come back; click the button to stop waiting")
        .arg(port);
}

// The waiting look: the button and the lamp say which port is awaited.
void showWaiting(TForm_Main& form) {
    const QString text = waitingText(form, form.PortWatch->path());
    setControlCaption(form.btn_Connect, waitingCaption(form));
    form.btn_Connect->setToolTip(text);
    form.shp_led->setToolTip(text);
}

void endWaiting(TForm_Main& form) {
    if (form.PortWatch)
        form.PortWatch->deleteLater();
    form.PortWatch = nullptr;
    form.btn_Connect->setToolTip(form.Console.hintBeforeWaiting);
    form.shp_led->setToolTip(QString());
}

// Opens the port again with the settings it had; they are still set on the component.
bool reopen(TForm_Main& form) {
    bool opened = false;
    try {
        opened = form.Comm1->StartComm().isEmpty();
    } catch (...) {
        opened = false;
    }
    if (!opened)
        return false;
    endWaiting(form);
    form.autoReading->onAwaitingDevice(false);
    form.autoReading->onPortOpened();
    setControlCaption(form.btn_Connect, disconnectCaptionOf(form));
    form.shp_led->setBrushColor(lamp::portOpen);
    return true;
}

// Reloads a box's list when the language tables left it short; that also empties its text.
void refillWhenShort(QComboBox* box, const QStringList& items) {
    if (box->count() < items.size()) {
        box->clear();
        box->addItems(items);
        box->setCurrentText(QString());
    }
}

// The position of a box's text among its items, or the message that stops the opening.
// what: the setting's name, QT_TRANSLATE_NOOP("Connection", ...).
int positionOf(const TForm_Main& form, QComboBox* box, const char* what, QString* error) {
    const int position = box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (position < 0 && error->isEmpty()) {
        const Language language = form.language();
        *error = language
                     .translate("Connection",
                                "The %1 \"%2\" in %3 is not one of its choices.\n\rThe port was not opened.")
                     .arg(language.translate("Connection", what), box->currentText(), box->objectName());
    }
    return position;
}

// The serial component words its failures in Chinese; they are known texts, shown in the
// console's language.
QString commFailureText(const QString& failure, Language language) {
    static const struct {
        const char* component;
        const char* text;
    } known[] = {
        {"串口已打开！", QT_TRANSLATE_NOOP("Connection", "The port is already open.")},
        {"不能创建事件!", QT_TRANSLATE_NOOP("Connection", "Cannot create the close event.")},
        {"不能够安装通讯缓存!", QT_TRANSLATE_NOOP("Connection", "Cannot set up the port's buffers.")},
        {"不能创建串口读进程!", QT_TRANSLATE_NOOP("Connection", "Cannot start the port's reader.")},
        {"不能创建串口写进程!", QT_TRANSLATE_NOOP("Connection", "Cannot start the port's writer.")},
    };
    for (const auto& k : known)
        if (failure == QString::fromUtf8(k.component))
            return language.translate("Connection", k.text);
    return failure;
}

// One more line for the opening's message: what really stood in the way, so that a user
// outside the port's group learns to join it instead of hunting for another program.
QString openFailureReason(const TForm_Main& form, const QString& startError) {
    const QString path =
        QString::fromStdString(posixcomm::DevicePathForName(form.Comm1->CommName().toStdString()));
    const Language language = form.language();
    // text: QT_TRANSLATE_NOOP("Connection", ...).
    const auto reason = [&](const char* text) {
        return QStringLiteral("\n\r") + language.translate("Connection", text);
    };
    if (startError == QStringLiteral("文件句柄不是通讯句柄!"))
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 is not a serial port.")).arg(path);
    if (startError != QStringLiteral("打开串口失败！"))
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1"))
            .arg(commFailureText(startError, language));
    const int err = posixcomm::CommFile::LastCreateError();
    switch (posixcomm::ClassifyOpenError(err)) {
    case posixcomm::OpenFailure::Missing:
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 does not exist.")).arg(path);
    case posixcomm::OpenFailure::NoPermission: {
        QString group = QString::fromStdString(posixcomm::DeviceGroupName(path.toStdString()));
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        return reason(QT_TRANSLATE_NOOP(
                          "Connection",
                          "Reason: no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) "
                          "and log in again."))
            .arg(path, group);
    }
    case posixcomm::OpenFailure::InUse:
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 is in use by another program.")).arg(path);
    case posixcomm::OpenFailure::Other:
        break;
    }
    const QString text = QString::fromLocal8Bit(std::strerror(err));
    return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1")).arg(text);
}

// A flash paints the lamp at once and returns to the idle colour kFlashMs after the last
// flash started. One timer per lamp instead of a wait inside the tick: at high data rates a
// flash per block would otherwise nest event loops without bound.
void flash(TForm_Main& form, TShape* lamp, const QColor& active, QTimer*& off) {
    if (!off) {
        off = new QTimer(&form);
        off->setSingleShot(true);
        off->setInterval(kFlashMs);
        QObject::connect(off, &QTimer::timeout, lamp, [lamp] { lamp->setBrushColor(lamp::atRest); });
    }
    lamp->setBrushColor(active);
    off->start();
}

// Adds the serial devices present after the box's own names whenever the list is about to
// open; the added entries are marked so that the next refresh replaces them.
class PortList : public QObject {
public:
    explicit PortList(QComboBox* box) : QObject(box), m_box(box) {
        box->installEventFilter(this);
        refresh();
    }

    void refresh() {
        const QString text = m_box->currentText();
        for (int i = m_box->count() - 1; i >= 0; --i)
            if (m_box->itemData(i, kDeviceRole).toBool())
                m_box->removeItem(i);
        for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
            const QString about = QStringList{port.description(), port.manufacturer()}.join(QLatin1Char(' '));
            addDetectedPort(m_box, port.systemLocation(), about.trimmed());
        }
        for (const auto& [link, device] : stablePortNames(QStringLiteral("/dev/serial/by-id")))
            addDetectedPort(m_box, link, device);
        m_box->setCurrentText(text);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box) {
            if (event->type() == QEvent::MouseButtonPress) {
                refresh();
            } else if (event->type() == QEvent::KeyPress) {
                const auto* key = static_cast<QKeyEvent*>(event);
                const bool alt = key->modifiers() & Qt::AltModifier;
                if (key->key() == Qt::Key_F4 ||
                    (alt && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)))
                    refresh();
            }
        }
        return false;
    }

private:
    QComboBox* m_box;
};

} // namespace

void installPortList(TForm_Main& form) {
    new PortList(form.cbb_Port);
}

void addDetectedPort(QComboBox* box, const QString& path, const QString& about) {
    if (path.isEmpty() || box->findText(path, Qt::MatchExactly) >= 0)
        return;
    box->addItem(path);
    const int i = box->count() - 1;
    box->setItemData(i, true, kDeviceRole);
    if (!about.isEmpty())
        box->setItemData(i, about, Qt::ToolTipRole);
}

QStringList configuredPortNames(const QComboBox* box) {
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        if (!box->itemData(i, kDeviceRole).toBool())
            names << box->itemText(i);
    return names;
}

QList<std::pair<QString, QString>> stablePortNames(const QString& folder) {
    QList<std::pair<QString, QString>> names;
    const QFileInfoList links = QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString device = link.canonicalFilePath();
        if (link.isSymLink() && !device.isEmpty())
            names.append({link.absoluteFilePath(), QFileInfo(device).fileName()});
    }
    return names;
}

void showConnectionState(TForm_Main& form) {
    if (form.PortWatch) {
        showWaiting(form);
        return;
    }
    setControlCaption(form.btn_Connect,
                      form.Comm1->Handle() != 0 ? disconnectCaptionOf(form) : connectCaptionOf(form));
}

namespace {

// Puts the chosen settings on the closed port. A setting outside its list would reach the
// port as a value the system refuses silently, leaving an unknown line format; better not to
// open at all: false after naming the setting.
bool applyChosenSettings(TForm_Main& form) {
    TComm* comm = form.Comm1;
    comm->SetCommName(form.cbb_Port->currentText());
    comm->SetBaudRate(static_cast<std::uint32_t>(StrToInt(form.cbb_Baud->currentText())));
    refillWhenShort(form.cbb_CheckBit, {"N", "O", "E", "M", "S"});
    refillWhenShort(form.cbb_DataBit, {"5", "6", "7", "8"});
    refillWhenShort(form.cbb_StopBit, {"1", "1.5", "2"});
    QString error;
    const int parity = positionOf(form, form.cbb_CheckBit, QT_TRANSLATE_NOOP("Connection", "parity"), &error);
    const int dataBits =
        positionOf(form, form.cbb_DataBit, QT_TRANSLATE_NOOP("Connection", "data bits"), &error);
    const int stopBits =
        positionOf(form, form.cbb_StopBit, QT_TRANSLATE_NOOP("Connection", "stop bits"), &error);
    if (!error.isEmpty()) {
        showMessage(error);
        return false;
    }
    comm->SetParity(static_cast<TParity>(parity));
    comm->SetByteSize(static_cast<TByteSize>(dataBits));
    comm->SetStopBits(static_cast<TStopBits>(stopBits));
    comm->SetReadIntervalTimeout(100);
    comm->SetInx_XonXoffFlow(false);
    comm->SetOutx_XonXoffFlow(false);
    return true;
}

// Opens the port; empty, or what went wrong.
QString startPort(TComm* comm) {
    try {
        return comm->StartComm();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("?");
    }
}

} // namespace

void TForm_Main::btn_ConnectClick() {
    // Pressed while waiting for a vanished device: stop waiting, nothing else.
    if (PortWatch) {
        endWaiting(*this);
        autoReading->onAwaitingDevice(false);
        setControlCaption(btn_Connect, connectCaptionOf(*this));
        return;
    }
    // The port's own state decides: a caption can be changed by the language tables or the
    // settings editor while the port is open.
    if (Comm1->Handle() != 0) {
        Comm1->StopComm();
        autoReading->onPortClosed();
        shp_led->setBrushColor(lamp::portClosed);
        setControlCaption(btn_Connect, connectCaptionOf(*this));
        return;
    }
    Comm1->StopComm();
    if (!applyChosenSettings(*this))
        return;
    const QString failure = startPort(Comm1);
    if (failure.isEmpty()) {
        setControlCaption(btn_Connect, disconnectCaptionOf(*this));
        shp_led->setBrushColor(lamp::portOpen);
        autoReading->onPortOpened();
        return;
    }
    const QString reason = openFailureReason(*this, failure);
    showMessage(cbb_Port->currentText() +
                language().translate("Connection",
                                     " open error\n\rPlease confirm that this port exists or is not "
                                     "occupied by another program") +
                reason);
}

// A vanished device (adapter pulled, far side gone) leaves nothing to talk to: close the port
// so the next click can open it again, show the closed look, and say so once. With the
// reconnect option the console instead waits for the same port to come back and reopens it.
void portHungUp(TForm_Main& form) {
    if (form.Comm1->Handle() == 0)
        return;
    const QString port = form.Comm1->CommName();
    form.Comm1->StopComm();
    form.shp_led->setBrushColor(lamp::portClosed);
    if (form.chk_Reconnect->isChecked() && !port.isEmpty()) {
        form.Console.hintBeforeWaiting = form.btn_Connect->toolTip();
        form.PortWatch = new PortReturnWatch(
            port, [&form] { return reopen(form); }, &form);
        form.autoReading->onAwaitingDevice(true);
        showWaiting(form);
        return;
    }
    form.autoReading->onPortClosed();
    setControlCaption(form.btn_Connect, connectCaptionOf(form));
    showMessage(port + form.language().translate("Connection", " was disconnected\n\rThe device is no longer "
                                                               "present; the port has been closed"));
}

void TForm_Main::tmr_TxLedTimer() {
    tmr_TxLed->stop();
    flash(*this, shp_TX, lamp::sent, Console.txFlashOff);
}

void TForm_Main::tmr_RxLedTimer() {
    tmr_RxLed->stop();
    flash(*this, shp_RX, lamp::received, Console.rxFlashOff);
}
