#pragma once

// What a client asks of the device and what became of it. Plain values: a request is copied
// into the engine's queue, a result is handed to the client once.

#include "console/protocol/ModbusExchange.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <functional>

struct DeviceRequest {
    enum class Kind {
        Text,   // a line of the text protocol
        Modbus, // a Modbus read of holding registers
    };
    // What answers a text request.
    enum class Expect {
        Nothing,   // done once the bytes are queued on the port (fixed commands, free text, batches)
        ReplyLine, // the first reply line (one holding a "$") that accepts() takes: a Read
        AnyLine,   // the first line of any text, ended by CR or LF: a Write's acknowledgement
    };

    Kind kind = Kind::Text;
    Expect expect = Expect::ReplyLine;
    // Text: the bytes as they go on the wire (the line with its CR LF). Modbus: built from
    // modbus when empty.
    QByteArray bytes;
    // How long the reply may take once the bytes are queued; the line then settles before
    // the next request. Modbus only: negative means the exchange's own time-out, looked up
    // whenever it is checked (so a change applies to the request in flight); a time-out of 0
    // is noticed by DeviceSession::expireOverdue() or the next block received.
    int timeoutMs = 1000;
    // ReplyLine only: whether this reply line answers the request. A line refused leaves the
    // request waiting (it is counted as unsolicited). Unset: every reply line answers.
    std::function<bool(const QByteArray& line)> accepts;
    // Modbus: the registers asked for; page is the asker's own mark, handed back.
    ModbusExchange::Request modbus;
    // Modbus: false when the asker no longer wants the values (its page left the view); a
    // sound reply is then counted as dropped, not shown.
    std::function<bool()> stillWanted;
    // Cancelling by owner ends only that owner's requests. A request whose owner is destroyed
    // is dropped from the queue; one in flight completes without calling back.
    QPointer<QObject> owner;
};

struct DeviceResult {
    enum class Status {
        Answered,  // the reply came (or, for Expect::Nothing, the bytes were queued)
        TimedOut,  // no reply within the request's time-out
        NotSent,   // the port took nothing (closed, gone, or an empty request)
        Cancelled, // cancelled before its reply came
    };
    Status status = Status::NotSent;
    // Text: the reply line without its line end.
    QByteArray line;
    // Modbus: the reply as the exchange classified it (values for a good one).
    ModbusExchange::Reply modbus;
    // From queuing the bytes to the reply, in milliseconds.
    qint64 elapsedMs = 0;

    bool answered() const { return status == Status::Answered; }
};
