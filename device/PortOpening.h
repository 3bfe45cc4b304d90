#pragma once

// Putting config.xml's port settings (its COMM element, as text) on the serial component and
// opening it, without widgets: what the window's connect button does, for any front.
//
// A setting outside its list is refused before the port is touched: the system would refuse
// it silently and leave the line in an unknown format.

#include "config/Language.h"

#include <QString>

class TComm;
class XmlNode;

struct PortSettings {
    QString port;     // "COMn" or a device path
    QString baud;     // an integer
    QString parity;   // N, O, E, M or S
    QString dataBits; // 5 to 8
    QString stopBits; // 1, 1.5 or 2
};

// The COMM element's attributes; absent ones are empty.
PortSettings PortSettingsOf(const XmlNode& comm);

// Puts the settings on the closed port, with the read interval the window uses. Empty, or
// one line naming the setting that is not one of its choices.
QString ApplyPortSettings(TComm& comm, const PortSettings& settings, Language language);

// Opens the port with the settings already applied. Empty, or why it could not be opened in
// the words a user can act on (missing device, permission and the group to join, in use by
// another program, not a serial port, or the system's reason).
QString OpenPort(TComm& comm, Language language);
