#pragma once

#include <QtGlobal>

// What became of automatic reading's Modbus requests and the replies that came back, kept
// for showing how sound the link to the device is.
struct ModbusHealth {
    quint64 sent = 0;        // requests handed to the port
    quint64 good = 0;        // replies shown in the labels
    quint64 timedOut = 0;    // requests that got no reply in time
    quint64 dropped = 0;     // sound replies that came after their time-out, or after the page in
                             // view changed, or when no request waited
    quint64 wrongLength = 0; // sound replies whose byte count is not twice the requested count
    quint64 badCrc = 0;      // replies of the polled station with a wrong check sequence
    quint64 exceptions = 0;  // exception replies from the device

    bool operator==(const ModbusHealth&) const = default;
};
