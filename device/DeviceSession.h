#pragma once

// DeviceSession: the one place where the console talks to the device.
//
// It owns the serial component (TComm), the assembly of text reply lines, the Modbus exchange
// and one queue of requests. Every client (a row's Read and Write, fixed commands, batches,
// automatic reading, commissioning, a command-line front) asks through request() and gets a
// result: the reply, or a time-out. The rules that keep a reply on the request that asked:
// - one request in flight at a time; the next is sent once the current one is done;
// - a text reply carries no address, so after a time-out the line settles before the next
//   request goes out: for the timed-out request's own time-out again (settleMs() when set),
//   or until the late reply has come and gone, whichever is first;
// - a reply that arrives while nothing is in flight, or while the line settles, is dropped and
//   counted (late while settling, unsolicited otherwise); it is never applied to anything.
// Text and Modbus requests share the queue.
//
// Threading: a QObject of the thread that runs its event loop (the UI thread in the window,
// the main thread under QCoreApplication). Results are delivered on that thread, from the
// receive handler or a timer, never inside request(). No nested event loops are used.
//
// Ownership: the session owns its TComm; callers configure and open the port through comm().
// A result callback may call request() and cancel(); it must not destroy the session.
//
// Signals: received() carries every block as it arrived, before any reply is taken from it
// (for the receive view and the session log); sent() every block handed to the port;
// hungUp() the port's device vanished; dropped() a reply line or frame nobody may take;
// finished() each request's result (besides its callback); idleChanged() the queue emptied
// or started to work; modbusCounted() a Modbus frame was classified (the health counts moved).

#include "console/protocol/ModbusExchange.h"
#include "console/protocol/ReplyAssembler.h"
#include "device/DeviceRequest.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class TComm;

class DeviceSession : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(const DeviceResult&)>;
    // Replaces the port for the bytes going out (tests script a line with it); true when the
    // bytes were taken.
    using Writer = std::function<bool(QByteArrayView bytes)>;

    explicit DeviceSession(QObject* parent = nullptr);
    ~DeviceSession() override;

    TComm& comm() { return *m_comm; }
    const TComm& comm() const { return *m_comm; }
    // The port is open (or a writer replaces it).
    bool isOpen() const;
    void setWriter(Writer writer) { m_writer = std::move(writer); }

    // Queues a request; done (optional) gets its result once. Returns the request's number.
    quint64 request(DeviceRequest request, Callback done = {});
    // Ends the queued requests of owner (all with nullptr) and the one in flight if it is
    // theirs, with Cancelled. A cancelled request in flight still lets the line settle.
    void cancel(QObject* owner = nullptr);

    // Ends the request in flight as timed out if its time is up (its time-out may have been
    // shortened since it was sent). Automatic reading calls this on each tick.
    void expireOverdue();

    // Nothing queued, nothing in flight, not settling.
    bool idle() const;
    bool settling() const { return m_settling; }
    qsizetype queued() const { return m_queue.size(); }

    // A block received from the line: shown first, then taken apart for replies. The port's
    // receive handler calls this; tests may too.
    void feed(QByteArrayView block);

    // Replies that came after their request's time-out (or its cancelling), and reply lines
    // or frames that came while nothing was waiting for one.
    quint64 lateReplies() const { return m_late; }
    quint64 unsolicitedReplies() const { return m_unsolicited; }

    // How long the line settles after a time-out; negative (the default): the timed-out
    // request's own time-out.
    void setSettleMs(int ms) { m_settleMs = ms; }
    int settleMs() const { return m_settleMs; }

    // While a text request waits for its reply, the port ends a received block after a few
    // character times of silence instead of its usual interval, so a reply is taken as soon as
    // it is complete. On by default.
    void setQuickReplies(bool on) { m_quickReplies = on; }

    // The Modbus exchange: its counts feed the health line.
    ModbusExchange& modbus() { return m_modbus; }
    const ModbusExchange& modbus() const { return m_modbus; }

signals:
    void received(const QByteArray& block);
    void sent(const QByteArray& bytes);
    void hungUp();
    void dropped(const QByteArray& reply, bool late);
    // The Modbus exchange classified a received frame (and counted it).
    void modbusCounted(const ModbusExchange::Reply& reply);
    void finished(quint64 id, const DeviceResult& result);
    void idleChanged(bool idle);

private:
    struct Pending {
        quint64 id = 0;
        bool hasOwner = false;
        DeviceRequest request;
        Callback done;
        qint64 sentMs = 0;
    };

    void pump();
    void start(Pending pending);
    bool write(const QByteArray& bytes);
    void finish(DeviceResult result);
    void deliver(Pending& pending, const DeviceResult& result);
    void onTimeout();
    int timeoutOf(const Pending& pending) const;
    void beginSettling(int ms);
    void endSettling();
    void takeModbus(QByteArrayView block, qsizetype frame, qint64 now);
    void takeText(QByteArrayView text, qint64 now);
    void takeAnyLine(QByteArrayView text);
    void dropReply(const QByteArray& reply);
    void setQuickInterval(bool quick);
    void noteIdle();

    std::unique_ptr<TComm> m_comm;
    Writer m_writer;
    QList<Pending> m_queue;
    std::unique_ptr<Pending> m_current;
    quint64 m_nextId = 1;
    bool m_pumping = false;
    bool m_pumpScheduled = false;
    bool m_feeding = false; // inside feed(): the next request waits until the block is done
    bool m_pumpAfterFeed = false;
    bool m_settling = false;
    bool m_wasIdle = true;
    int m_settleMs = -1;
    bool m_quickReplies = true;
    bool m_quickSet = false;
    quint32 m_restingInterval = 0;
    QTimer m_timeout;
    QTimer m_settle;
    ReplyAssembler m_replies;
    QByteArray m_anyLine; // text since the request in flight was sent, for Expect::AnyLine
    ModbusExchange m_modbus;
    quint64 m_late = 0;
    quint64 m_unsolicited = 0;
};
