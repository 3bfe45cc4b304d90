#pragma once

#include "config/Language.h"

#include <QByteArrayView>
#include <QObject>
#include <QString>

class DeviceSession;
class QCheckBox;
class QRadioButton;
class ReceiveLogView;

// The receive view and the options that decide how a block is shown.
struct ReceivingControls {
    ReceiveLogView* view = nullptr;
    QCheckBox* showTime = nullptr;    // a time stamp before each block
    QCheckBox* autoClear = nullptr;   // empty the view once it holds much
    QRadioButton* text = nullptr;     // blocks as text
    QRadioButton* hex = nullptr;      // blocks as hexadecimal bytes
    QCheckBox* autoNewLine = nullptr; // long lines wrap
};

// What arrives on the line, shown in the receive view as it came, in the chosen form; and
// the view's own actions: clearing it, wrapping its lines, saving its text.
class Receiving : public QObject {
    Q_OBJECT
public:
    // Shows every block the device engine receives, before any reply is taken from it.
    Receiving(const ReceivingControls& controls, DeviceSession& device, QObject* parent = nullptr);

    void setLanguage(Language language) { m_language = language; }

    // Shows a block. Runs to its end without processing other events, so that blocks are
    // shown in the order they arrived; the window stays responsive because the view draws at
    // most every few dozen milliseconds, and only what is in sight.
    void show(QByteArrayView block);
    void clear();
    // Follows the new-line option: wrapped lines, or one line with a scroll bar.
    void followWrapping();

    // Writes the view's text as UTF-8; the error text when it could not.
    QString saveTo(const QString& path) const;
    // Asks where to save the view's text and saves it; a failure is named to the user.
    void saveAsked();

private:
    ReceivingControls m_controls;
    Language m_language;
};
