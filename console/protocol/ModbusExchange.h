#pragma once

#include "console/protocol/ModbusHealth.h"

#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

// Pairs automatic reading's Modbus requests with their replies. A reply carries no register
// address, so the only way to keep a slow device's answer off the wrong labels is to have one
// request in flight at a time and to take a reply only for that request: same station, a byte
// count of twice the requested count, and the page that asked still in view. Times are a
// monotonic millisecond clock supplied by the caller.
//
// Each request ends in exactly one outcome, so the counts add up to the requests sent: a
// reply, damaged or not, ends the wait of its request; a reply that comes after its request
// timed out turns that time-out into a late reply rather than adding a second outcome; any
// further frame of the station answers nothing and is counted apart.
class ModbusExchange {
public:
    static constexpr qint64 kDefaultTimeoutMs = 1000;

    struct Request {
        int page = -1; // index of the automatic-reading page that asked
        qint32 station = 0;
        qint32 start = 0;
        qint32 count = 0;
    };

    struct Reply {
        enum Kind {
            NotModbus,   // not a reply of the polled station: text, another station, noise
            Good,        // values for the request's registers
            BadCrc,      // the polled station's frame, damaged or incomplete
            WrongLength, // sound, but not the requested number of registers
            Dropped,     // sound, but the page that asked is no longer in view
            Exception,   // the device refused the request
            Late,        // the reply of a request that had already timed out
            Unsolicited, // a frame of the station that answers no request
        };
        Kind kind = NotModbus;
        QList<quint16> values; // Good only: the values of start, start + 1, ...
        Request request;       // the request it was matched against
        int exceptionCode = 0; // Exception only: the device's reason
    };

    // False while a request still waits for its reply and its time-out has not passed.
    bool canSend(qint64 nowMs);
    // The request just handed to the port; it now waits for its reply.
    void sent(const Request& request, qint64 nowMs);
    // Classifies one received block and counts it; a reply ends the wait of its request.
    Reply takeReply(QByteArrayView block, int pageInView, qint64 nowMs);
    // Forgets the request in flight and every count: polling starts afresh.
    void reset();

    bool waiting() const { return m_waiting; }
    // The request sent last, whether answered or not.
    const Request& lastRequest() const { return m_request; }
    void setTimeoutMs(qint64 ms) { m_timeoutMs = ms; }
    qint64 timeoutMs() const { return m_timeoutMs; }
    const ModbusHealth& health() const { return m_health; }

private:
    void noteTimeOut(qint64 nowMs);
    Reply finish(Reply::Kind kind, quint64& counter, qint64 nowMs);

    Request m_request;
    bool m_anySent = false;
    bool m_waiting = false;
    bool m_timedOut = false; // the last request ended by its time-out, and no reply came since
    qint64 m_sentMs = 0;
    qint64 m_timeoutMs = kDefaultTimeoutMs;
    ModbusHealth m_health;
};
