#pragma once

#include <QtGlobal>

// What became of automatic reading's Modbus requests and the replies that came back, kept
// for showing how sound the link to the device is. Every request ends in exactly one of
// good, timedOut, badCrc, wrongLength, dropped or exceptions, so their sum is the number of
// requests sent less the one still waiting, if any.
struct ModbusHealth {
    quint64 sent = 0;        // requests handed to the port
    quint64 good = 0;        // replies shown in the labels
    quint64 timedOut = 0;    // requests that got no reply in time (and none since)
    quint64 dropped = 0;     // sound replies that came after their time-out or after the page in
                             // view changed
    quint64 wrongLength = 0; // sound replies whose byte count is not twice the requested count
    quint64 badCrc = 0;      // replies of the polled station with a wrong check sequence
    quint64 exceptions = 0;  // exception replies from the device
    quint64 unsolicited = 0; // frames of the polled station that answered no request: a second
                             // reply to one request, or one after its request already ended
    int lastException = 0;   // the code of the latest exception reply; 0 before any

    // Times from a request to its answer, for answers the request was waiting for (good,
    // damaged, wrong length or exception replies).
    qint64 lastReplyMs = -1; // -1 before any
    qint64 totalReplyMs = 0;
    quint64 timedReplies = 0;
    qint64 averageReplyMs() const { return timedReplies == 0 ? -1 : totalReplyMs / qint64(timedReplies); }
    // The requests that have ended, each counted in exactly one outcome.
    quint64 ended() const { return good + timedOut + dropped + wrongLength + badCrc + exceptions; }

    bool operator==(const ModbusHealth&) const = default;
};
