#include "console/Connection.h"

#include "comm/SerialComm.h"
#include "config/StrToInt.h"
#include "console/PortOpenFailure.h"
#include "console/PortReturnWatch.h"
#include "device/DeviceSession.h"
#include "ui/BuiltInTexts.h"
#include "ui/ControlCaption.h"
#include "ui/Controls.h"
#include "ui/Lamps.h"
#include "ui/MessageBoxes.h"
#include "ui/ShowingErrors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kFlashMs = 200;

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
int positionOf(Language language, QComboBox* box, const char* what, QString* error) {
    const int position = box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (position < 0 && error->isEmpty()) {
        *error = language
                     .translate("Connection",
                                "The %1 \"%2\" in %3 is not one of its choices.\n\rThe port was not opened.")
                     .arg(language.translate("Connection", what), box->currentText(), box->objectName());
    }
    return position;
}

// Opens the port; empty, or what went wrong.
QString startPort(TComm& comm) {
    try {
        return comm.StartComm();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("?");
    }
}

QTimer* lampOffTimer(QObject* parent, TShape* lamp) {
    auto* off = new QTimer(parent);
    off->setSingleShot(true);
    off->setInterval(kFlashMs);
    QObject::connect(off, &QTimer::timeout, lamp, [lamp] { lamp->setBrushColor(lamp::atRest); });
    return off;
}

} // namespace

Connection::Connection(const ConnectionControls& controls, DeviceSession& device, QObject* parent)
    : QObject(parent), m_controls(controls), m_device(device) {
    m_sendLampOff = lampOffTimer(this, m_controls.sendLamp);
    m_receiveLampOff = lampOffTimer(this, m_controls.receiveLamp);
    // A flash per block, whoever sent it: the lamps say what really went over the line.
    connect(&m_device, &DeviceSession::sent, this,
            [this] { flash(m_controls.sendLamp, lamp::sent, m_sendLampOff); });
    connect(&m_device, &DeviceSession::received, this,
            [this] { flash(m_controls.receiveLamp, lamp::received, m_receiveLampOff); });
    connect(&m_device, &DeviceSession::hungUp, this, [this] { runShowingErrors([this] { onHungUp(); }); });
}

void Connection::setLanguage(Language language) {
    m_language = language;
}

bool Connection::isOpen() const {
    return m_device.comm().Handle() != 0;
}

QString Connection::awaitedPort() const {
    return m_watch ? m_watch->path() : QString();
}

QString Connection::openCaption() const {
    // The built-in caption for language tables that do not name the button.
    return m_connectCaption.isEmpty() ? builtInCaption(m_controls.button, m_language).value_or(QString())
                                      : m_connectCaption;
}

QString Connection::closeCaption() const {
    return m_disconnectCaption.isEmpty() ? m_language.translate("Connection", "Disconnect")
                                         : m_disconnectCaption;
}

void Connection::showState() {
    if (m_watch) {
        showWaiting();
        return;
    }
    setControlCaption(m_controls.button, isOpen() ? closeCaption() : openCaption());
}

void Connection::showOpen(bool open) {
    m_controls.portLamp->setBrushColor(open ? lamp::portOpen : lamp::portClosed);
    setControlCaption(m_controls.button, open ? closeCaption() : openCaption());
}

// A flash paints the lamp at once and returns to the idle colour kFlashMs after the last
// flash started. One timer per lamp instead of a wait: at high data rates a flash per block
// would otherwise nest event loops without bound.
void Connection::flashSendLamp() {
    flash(m_controls.sendLamp, lamp::sent, m_sendLampOff);
}

void Connection::flash(TShape* lamp, const QColor& active, QTimer* off) {
    lamp->setBrushColor(active);
    off->start();
}

void Connection::toggle() {
    if (m_watch) {
        stopWaiting();
        return;
    }
    // The port's own state decides: a caption can be changed by the language tables or the
    // settings editor while the port is open.
    if (isOpen())
        close();
    else
        open();
}

void Connection::close() {
    m_device.comm().StopComm();
    showOpen(false);
    emit portClosed();
}

void Connection::open() {
    m_device.comm().StopComm();
    if (!applyChosenSettings())
        return;
    const QString failure = startPort(m_device.comm());
    if (failure.isEmpty()) {
        showOpen(true);
        emit portOpened();
        return;
    }
    const QString reason = openFailureReason(m_device.comm().CommName(), failure, m_language);
    showMessage(m_controls.port->currentText() +
                m_language.translate("Connection",
                                     " open error\n\rPlease confirm that this port exists or is not "
                                     "occupied by another program") +
                reason);
}

// Puts the chosen settings on the closed port. A setting outside its list would reach the
// port as a value the system refuses silently, leaving an unknown line format; better not to
// open at all: false after naming the setting.
bool Connection::applyChosenSettings() {
    TComm& comm = m_device.comm();
    comm.SetCommName(m_controls.port->currentText());
    comm.SetBaudRate(static_cast<std::uint32_t>(StrToInt(m_controls.baud->currentText())));
    refillWhenShort(m_controls.parity, {"N", "O", "E", "M", "S"});
    refillWhenShort(m_controls.dataBits, {"5", "6", "7", "8"});
    refillWhenShort(m_controls.stopBits, {"1", "1.5", "2"});
    QString error;
    const int parity =
        positionOf(m_language, m_controls.parity, QT_TRANSLATE_NOOP("Connection", "parity"), &error);
    const int dataBits =
        positionOf(m_language, m_controls.dataBits, QT_TRANSLATE_NOOP("Connection", "data bits"), &error);
    const int stopBits =
        positionOf(m_language, m_controls.stopBits, QT_TRANSLATE_NOOP("Connection", "stop bits"), &error);
    if (!error.isEmpty()) {
        showMessage(error);
        return false;
    }
    comm.SetParity(static_cast<TParity>(parity));
    comm.SetByteSize(static_cast<TByteSize>(dataBits));
    comm.SetStopBits(static_cast<TStopBits>(stopBits));
    comm.SetReadIntervalTimeout(100);
    comm.SetInx_XonXoffFlow(false);
    comm.SetOutx_XonXoffFlow(false);
    return true;
}

// A vanished device (adapter pulled, far side gone) leaves nothing to talk to: close the port
// so the next click can open it again, show the closed look, and say so once. With the
// reconnect option the console instead waits for the same port to come back and reopens it.
void Connection::onHungUp() {
    if (!isOpen())
        return;
    const QString port = m_device.comm().CommName();
    m_device.comm().StopComm();
    m_controls.portLamp->setBrushColor(lamp::portClosed);
    emit portClosed();
    if (m_controls.reconnect->isChecked() && !port.isEmpty()) {
        m_hintBeforeWaiting = m_controls.button->toolTip();
        m_watch = new PortReturnWatch(
            port, [this] { return reopen(); }, this);
        showWaiting();
        emit awaitingDevice(true);
        return;
    }
    setControlCaption(m_controls.button, openCaption());
    showMessage(port + m_language.translate("Connection", " was disconnected\n\rThe device is no longer "
                                                          "present; the port has been closed"));
}

// Opens the port again with the settings it had; they are still set on the component.
bool Connection::reopen() {
    bool opened = false;
    try {
        opened = m_device.comm().StartComm().isEmpty();
    } catch (...) {
        opened = false;
    }
    if (!opened)
        return false;
    endWaiting();
    showOpen(true);
    emit awaitingDevice(false);
    emit portOpened();
    return true;
}

void Connection::stopWaiting() {
    endWaiting();
    setControlCaption(m_controls.button, openCaption());
    emit awaitingDevice(false);
    emit portClosed();
}

// The waiting look: the button and the lamp say which port is awaited.
void Connection::showWaiting() {
    const QString text =
        m_language.translate("Connection", "Waiting for %1 to come back; click the button to stop waiting")
            .arg(m_watch->path());
    setControlCaption(m_controls.button, m_language.translate("Connection", "Waiting…"));
    m_controls.button->setToolTip(text);
    m_controls.portLamp->setToolTip(text);
}

void Connection::endWaiting() {
    // The watch may be the caller (reopen runs inside its check): deleted once that returns.
    if (m_watch)
        m_watch->deleteLater();
    m_watch = nullptr;
    m_controls.button->setToolTip(m_hintBeforeWaiting);
    m_controls.portLamp->setToolTip(QString());
}
