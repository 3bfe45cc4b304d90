#pragma once

#include "config/Language.h"
#include "console/protocol/ModbusHealth.h"

#include <QDateTime>
#include <QString>

// The words beside automatic reading that say how the link to the device fares, and why a
// value could not be refreshed, in the language given.

// Up to four short lines, so that a narrow panel can shorten one without hiding the rest:
// the request counts, the fault counts, the reply times, and the latest exception's meaning
// once there has been one.
QString ModbusHealthText(const ModbusHealth& health, Language language);

// Why a value shown is not fresh.
struct ModbusStale {
    enum Reason {
        TimedOut,         // no reply within timeoutMs
        BadCrc,           // the reply was damaged
        WrongLength,      // the reply held another number of registers
        Late,             // the reply came after timeoutMs
        Exception,        // the device refused: exceptionCode
        PortClosed,       // nothing is being read
        WaitingForDevice, // the device went away and is awaited
    };
    Reason reason = TimedOut;
    qint64 timeoutMs = 0;
    int exceptionCode = 0;
};

// The reason, then on a second line when the shown value was last read good (an invalid
// time: that none has been read yet).
QString ModbusStaleText(const ModbusStale& stale, const QDateTime& lastGood, Language language);

// The reason alone.
QString ModbusStaleReasonText(const ModbusStale& stale, Language language);
