#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

// One line of the session log for one block on the wire:
//   2026-12-09 14:05:01.123<TAB>RX<TAB>14<TAB>$KRDV,12=300\r\n<TAB>24 4B 52 ...<LF>
// The text column shows printable ASCII as it is and escapes everything else (\r, \n, \t,
// \\, \xHH), so a line of the log is always one line whatever the device sent.
enum class WireDirection { Sent, Received };

QByteArray SessionLogLine(const QDateTime& time, WireDirection direction, QByteArrayView bytes);
