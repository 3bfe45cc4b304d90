#include "app/MainFrm.h"

#include "comm/SerialComm.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/OpenFailure.h"
#include "config/StrToInt.h"
#include "console/AutoValueLabels.h"
#include "console/ConsoleWiring.h"
#include "console/PortReturnWatch.h"
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

// The template's caption, for language tables that do not list btn_Connect.
const QString designConnectCaption = QStringLiteral("连接端口");
const QString fallbackDisconnectCaption = QStringLiteral("断开端口");

constexpr int kFlashMs = 200;

// Marks the port box's entries that were found on this machine rather than configured.
constexpr int kDeviceRole = Qt::UserRole + 1;

QString connectCaptionOf(const TForm_Main& form) {
    return form.ConnectCaption.isEmpty() ? designConnectCaption : form.ConnectCaption;
}

QString disconnectCaptionOf(const TForm_Main& form) {
    return form.DisconnectCaption.isEmpty() ? fallbackDisconnectCaption : form.DisconnectCaption;
}

bool english(const TForm_Main& form) {
    return form.LanguageCode == QLatin1String("EN");
}

QString waitingCaption(const TForm_Main& form) {
    return english(form) ? QStringLiteral("Waiting…") : QStringLiteral("等待中…");
}

QString waitingText(const TForm_Main& form, const QString& port) {
    return english(form)
               ? QStringLiteral("Waiting for %1 to come back; click the button to stop waiting").arg(port)
               : QStringLiteral("等待 %1 重新连接；点击按钮停止等待").arg(port);
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
int positionOf(const TForm_Main& form, QComboBox* box, const QString& what, const QString& whatCN,
               QString* error) {
    const int position = box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (position < 0 && error->isEmpty()) {
        *error =
            english(form)
                ? QStringLiteral("The %1 \"%2\" in %3 is not one of its choices.\n\rThe port was not opened.")
                      .arg(what, box->currentText(), box->objectName())
                : QStringLiteral("%3 的%1“%2”不在可选项中。\n\r端口未打开。")
                      .arg(whatCN, box->currentText(), box->objectName());
    }
    return position;
}

// One more line for the opening's message: what really stood in the way, so that a user
// outside the port's group learns to join it instead of hunting for another program.
QString openFailureReason(const TForm_Main& form, const QString& startError) {
    const QString path =
        QString::fromStdString(posixcomm::DevicePathForName(form.Comm1->CommName().toStdString()));
    const bool en = english(form);
    if (startError == QStringLiteral("文件句柄不是通讯句柄!"))
        return en ? QStringLiteral("\n\rReason: %1 is not a serial port.").arg(path)
                  : QStringLiteral("\n\r原因：%1 不是串口。").arg(path);
    if (startError != QStringLiteral("打开串口失败！"))
        return en ? QStringLiteral("\n\rReason: %1").arg(startError)
                  : QStringLiteral("\n\r原因：%1").arg(startError);
    const int err = posixcomm::CommFile::LastCreateError();
    switch (posixcomm::ClassifyOpenError(err)) {
    case posixcomm::OpenFailure::Missing:
        return en ? QStringLiteral("\n\rReason: %1 does not exist.").arg(path)
                  : QStringLiteral("\n\r原因：%1 不存在。").arg(path);
    case posixcomm::OpenFailure::NoPermission: {
        QString group = QString::fromStdString(posixcomm::DeviceGroupName(path.toStdString()));
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        return en ? QStringLiteral("\n\rReason: no permission to open %1; join the group %2 "
                                   "(sudo usermod -aG %2 $USER) and log in again.")
                        .arg(path, group)
                  : QStringLiteral("\n\r原因：没有打开 %1 的权限；请加入 %2 组"
                                   "（sudo usermod -aG %2 $USER）后重新登录。")
                        .arg(path, group);
    }
    case posixcomm::OpenFailure::InUse:
        return en ? QStringLiteral("\n\rReason: %1 is in use by another program.").arg(path)
                  : QStringLiteral("\n\r原因：%1 正被其它程序占用。").arg(path);
    case posixcomm::OpenFailure::Other:
        break;
    }
    const QString text = QString::fromLocal8Bit(std::strerror(err));
    return en ? QStringLiteral("\n\rReason: %1").arg(text) : QStringLiteral("\n\r原因：%1").arg(text);
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
    const int parity =
        positionOf(form, form.cbb_CheckBit, QStringLiteral("parity"), QStringLiteral("校验位"), &error);
    const int dataBits =
        positionOf(form, form.cbb_DataBit, QStringLiteral("data bits"), QStringLiteral("数据位"), &error);
    const int stopBits =
        positionOf(form, form.cbb_StopBit, QStringLiteral("stop bits"), QStringLiteral("停止位"), &error);
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
        markAllAutoValuesStale(*this, {ModbusStale::PortClosed, 0, 0});
        setControlCaption(btn_Connect, connectCaptionOf(*this));
        return;
    }
    // The port's own state decides: a caption can be changed by the language tables or the
    // settings editor while the port is open.
    if (Comm1->Handle() != 0) {
        Comm1->StopComm();
        markAllAutoValuesStale(*this, {ModbusStale::PortClosed, 0, 0});
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
        return;
    }
    const QString reason = openFailureReason(*this, failure);
    if (english(*this))
        showMessage(cbb_Port->currentText() +
                    QStringLiteral(" open error\n\rPlease confirm that this port "
                                   "exists or is not occupied by another program") +
                    reason);
    else
        showMessage(cbb_Port->currentText() +
                    QStringLiteral("打开错误\n\r请确认存在此端口或未被其它程序占用") + reason);
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
        markAllAutoValuesStale(form, {ModbusStale::WaitingForDevice, 0, 0});
        showWaiting(form);
        return;
    }
    markAllAutoValuesStale(form, {ModbusStale::PortClosed, 0, 0});
    setControlCaption(form.btn_Connect, connectCaptionOf(form));
    if (english(form))
        showMessage(port + QStringLiteral(" was disconnected\n\rThe device is no longer present; the port "
                                          "has been closed"));
    else
        showMessage(port + QStringLiteral("连接已断开\n\r设备已不存在，端口已关闭"));
}

void TForm_Main::tmr_TxLedTimer() {
    tmr_TxLed->stop();
    flash(*this, shp_TX, lamp::sent, Console.txFlashOff);
}

void TForm_Main::tmr_RxLedTimer() {
    tmr_RxLed->stop();
    flash(*this, shp_RX, lamp::received, Console.rxFlashOff);
}

// Runs the event loop until the time has passed: input, timers and receive events are
// handled meanwhile, also nested handlers. Events are processed at least once, also for 0 ms.
void TForm_Main::DelayWithMessages(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
