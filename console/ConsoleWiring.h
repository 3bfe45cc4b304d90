#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class QComboBox;
class TForm_Main;

// Set-up of the console's parts of the fixed frame that need more than the template gives:
// called once while the window builds its frame, after the controls and Comm1 exist.

// The port box also lists the serial devices present, refreshed whenever its list opens.
void installPortList(TForm_Main& form);
// Adds a device found on this machine to the port box, unless the box lists it already;
// about (description, maker) becomes its tooltip.
void addDetectedPort(QComboBox* box, const QString& path, const QString& about);
// The port box's items without the devices found on this machine: what config.xml may keep.
QStringList configuredPortNames(const QComboBox* box);
// The receive box shows data through a short-lived buffer so that fast data cannot freeze
// the window.
void installReceiveView(TForm_Main& form);
// What the window does when the open port's device vanishes.
void portHungUp(TForm_Main& form);
// Puts the caption of the port's real state, open or closed, in the current language on the
// connect button.
void showConnectionState(TForm_Main& form);

// The stable names of serial adapters (the links in a folder such as /dev/serial/by-id), each
// with the short name of the device it points to now.
QList<std::pair<QString, QString>> stablePortNames(const QString& folder);
