#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class QComboBox;

// The port box also lists the serial devices present, refreshed whenever its list opens.
void installPortList(QComboBox* box);
// Adds a device found on this machine to the port box, unless the box lists it already;
// about (description, maker) becomes its tooltip.
void addDetectedPort(QComboBox* box, const QString& path, const QString& about);
// The port box's items without the devices found on this machine: what config.xml may keep.
QStringList configuredPortNames(const QComboBox* box);
// The stable names of serial adapters (the links in a folder such as /dev/serial/by-id), each
// with the short name of the device it points to now.
QList<std::pair<QString, QString>> stablePortNames(const QString& folder);
