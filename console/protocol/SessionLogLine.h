#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <limits>

// One line of the session log for one block on the wire:
//   2026-12-09 14:05:01.123<TAB>RX<TAB>14<TAB>$KRDV,12=300\r\n<TAB>24 4B 52 ...<LF>
// The text column shows printable ASCII as it is and escapes everything else (\r, \n, \t,
// \\, \xHH), so a line of the log is always one line whatever the device sent.
enum class WireDirection { Sent, Received };

// Formats lines straight into the caller's buffer. The log's writer formats every byte of a
// fast stream five times over (text and hexadecimal), so this writes through a pointer into
// space reserved once per line, and turns the time into local date and time only when the
// second changes: converting it per block cost more than the rest of the line.
class SessionLogLineWriter {
public:
    // time: milliseconds since the epoch, shown in local time.
    void append(QByteArray& out, qint64 msecsSinceEpoch, WireDirection direction, QByteArrayView bytes);

private:
    qint64 m_second = std::numeric_limits<qint64>::min();
    char m_dateTime[19] = {}; // "yyyy-MM-dd HH:mm:ss" of m_second
};

// One line on its own, for callers outside the writer thread.
QByteArray SessionLogLine(qint64 msecsSinceEpoch, WireDirection direction, QByteArrayView bytes);
