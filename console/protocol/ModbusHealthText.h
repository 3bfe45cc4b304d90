#pragma once

#include "config/Language.h"

#include "console/protocol/ModbusHealth.h"

#include <QString>

// The words beside automatic reading that say how the link to the device fares, and why a
// value could not be refreshed, in English or Chinese.

// Two lines: the counts, then the reply times and the latest exception's meaning.
QString ModbusHealthText(const ModbusHealth& health, Language language);

// Why the values of the last request were not refreshed: no reply within timeoutMs, or the
// device's exception (exceptionCode > 0).
QString ModbusTimeOutText(qint64 timeoutMs, Language language);
QString ModbusExceptionText(int exceptionCode, Language language);
