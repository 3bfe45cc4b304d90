#pragma once

#include "config/Language.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DeviceSession;
class PortReturnWatch;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;
class TShape;
class XmlNode;

// The controls the connection reads its settings from and shows its state on.
struct ConnectionControls {
    QComboBox* port = nullptr;
    QComboBox* baud = nullptr;
    QComboBox* parity = nullptr;
    QComboBox* dataBits = nullptr;
    QComboBox* stopBits = nullptr;
    QCheckBox* reconnect = nullptr; // wait for a vanished device to come back
    QPushButton* button = nullptr;  // opens, closes, or stops waiting
    TShape* portLamp = nullptr;     // black closed, red open
    TShape* sendLamp = nullptr;     // flashes as bytes go out
    TShape* receiveLamp = nullptr;  // flashes as bytes come in
};

// The serial port as the person sees it: the settings chosen in the boxes put on the device
// engine's port, opening and closing it, the lamps, and what happens when the device behind
// the port vanishes (closed and reported, or awaited and reopened with the same settings).
//
// Signals, in the order they come:
// - opened by the button: portOpened();
// - closed by the button: portClosed();
// - the device vanished: portClosed(), then awaitingDevice(true) when it is awaited;
// - the awaited device came back: awaitingDevice(false), portOpened();
// - the button stopped the wait: awaitingDevice(false), portClosed().
class Connection : public QObject {
    Q_OBJECT
public:
    Connection(const ConnectionControls& controls, DeviceSession& device, QObject* parent = nullptr);

    void setLanguage(Language language);
    // The button's captions as the language tables give them; empty: the built-in caption.
    void setConnectCaption(const QString& caption) { m_connectCaption = caption; }
    void setDisconnectCaption(const QString& caption) { m_disconnectCaption = caption; }
    const QString& connectCaption() const { return m_connectCaption; }
    const QString& disconnectCaption() const { return m_disconnectCaption; }

    // The button: closes an open port, stops a wait, or opens the port with the boxes'
    // settings (saying what stood in the way when it cannot). A baud rate that is not a
    // number throws the program's error.
    void toggle();
    bool isOpen() const;
    // A vanished device is awaited.
    bool isAwaitingDevice() const { return !m_watch.isNull(); }
    // The port awaited, empty when none is.
    QString awaitedPort() const;
    // Puts the caption of the port's real state, in the current language, on the button.
    void showState();
    // One flash of the send lamp for a line a person sent, whether or not the port is open.
    void flashSendLamp();

    // The settings config.xml keeps (its COMM element) shown in the boxes, at start-up.
    void loadSettings(const XmlNode& comm);
    // Closing writes the boxes back only once they hold the file's values: a start-up that
    // stopped earlier leaves the template's defaults in them, not the user's choice.
    bool settingsLoaded() const { return m_settingsLoaded; }
    void saveSettings(XmlNode& comm) const;

signals:
    void portOpened();
    void portClosed();
    void awaitingDevice(bool waiting);

private:
    void open();
    void close();
    void stopWaiting();
    void onHungUp();
    bool reopen();
    void endWaiting();
    void showWaiting();
    void showOpen(bool open);
    bool applyChosenSettings();
    QString openCaption() const;
    QString closeCaption() const;
    void flash(TShape* lamp, const QColor& active, QTimer* off);

    ConnectionControls m_controls;
    DeviceSession& m_device;
    Language m_language;
    QString m_connectCaption;
    QString m_disconnectCaption;
    bool m_settingsLoaded = false;
    // Set while a vanished device is awaited.
    QPointer<PortReturnWatch> m_watch;
    // The button's tooltip from before the wait, given back when it ends.
    QString m_hintBeforeWaiting;
    QTimer* m_sendLampOff = nullptr;
    QTimer* m_receiveLampOff = nullptr;
};
