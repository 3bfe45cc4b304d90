#pragma once

#include "config/ConfigRecords.h"
#include "config/Language.h"

#include <QString>

// Modbus limits a polled block must keep: a station address a device can have (1-247; 0 is
// the broadcast nobody answers), a register count one read may ask for (1-125), and
// registers inside the 16-bit address range.
constexpr qint32 MinStationAddress = 1;
constexpr qint32 MaxStationAddress = 247;
constexpr qint32 MaxRegistersPerRead = 125;

// Empty when the block can be polled as configured, otherwise a line in the language given that
// names the page and what is wrong. Blocks that are not polled (protocol other than MODBUS)
// are not checked.
QString PollingBlockProblem(const TAutoRead& block, const QString& pageCaption, Language language);
