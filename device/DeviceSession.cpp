#include "device/DeviceSession.h"

#include "comm/SerialComm.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The silence that ends a received block while a reply is awaited: three and a half
// characters of eleven bits at the port's rate, rounded up, and one millisecond more for the
// poll's granularity; never below 2 ms.
quint32 quickInterval(quint32 baud) {
    if (baud == 0)
        return 100;
    const double ms = 3.5 * 11.0 * 1000.0 / baud;
    return std::max<quint32>(2, static_cast<quint32>(std::ceil(ms)) + 1);
}

qsizetype lineEnd(QByteArrayView text, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n')
            return i;
    return -1;
}

} // namespace

DeviceSession::DeviceSession(QObject* parent) : QObject(parent), m_comm(std::make_unique<TComm>()) {
    m_comm->OnReceiveData = [this](QObject*, const char* buffer, std::uint16_t length) {
        feed(QByteArrayView(buffer, length));
    };
    m_comm->OnRequestHangup = [this](QObject*) { emit hungUp(); };
    m_timeout.setSingleShot(true);
    m_timeout.setTimerType(Qt::PreciseTimer);
    connect(&m_timeout, &QTimer::timeout, this, &DeviceSession::onTimeout);
    m_settle.setSingleShot(true);
    m_settle.setTimerType(Qt::PreciseTimer);
    connect(&m_settle, &QTimer::timeout, this, &DeviceSession::endSettling);
}

// The port stops (and its threads end) with the component; nothing is called back any more.
DeviceSession::~DeviceSession() {
    m_comm->OnReceiveData = nullptr;
    m_comm->OnRequestHangup = nullptr;
}

bool DeviceSession::isOpen() const {
    return m_writer || m_comm->Handle() != 0;
}

bool DeviceSession::idle() const {
    return !m_current && m_queue.isEmpty() && !m_settling;
}

quint64 DeviceSession::request(DeviceRequest request, Callback done) {
    Pending pending;
    pending.id = m_nextId++;
    pending.hasOwner = request.owner != nullptr;
    if (request.kind == DeviceRequest::Kind::Modbus && request.bytes.isEmpty())
        request.bytes = ModbusReadRequest(request.modbus.station, request.modbus.start, request.modbus.count);
    pending.request = std::move(request);
    pending.done = std::move(done);
    m_queue.append(std::move(pending));
    noteIdle();
    if (!m_pumpScheduled) {
        m_pumpScheduled = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_pumpScheduled = false;
                pump();
            },
            Qt::QueuedConnection);
    }
    return m_queue.last().id;
}

void DeviceSession::cancel(QObject* owner) {
    QList<Pending> ended;
    for (qsizetype i = 0; i < m_queue.size();) {
        if (!owner || m_queue[i].request.owner == owner)
            ended.append(m_queue.takeAt(i));
        else
            ++i;
    }
    if (m_current && (!owner || m_current->request.owner == owner)) {
        // Its reply may still come: the line settles for what was left of its time.
        const qint64 left = timeoutOf(*m_current) - (MonotonicMs() - m_current->sentMs);
        beginSettling(static_cast<int>(std::max<qint64>(0, left)));
        DeviceResult result;
        result.status = DeviceResult::Status::Cancelled;
        finish(result);
    }
    for (Pending& p : ended) {
        DeviceResult result;
        result.status = DeviceResult::Status::Cancelled;
        deliver(p, result);
    }
    noteIdle();
}

void DeviceSession::pump() {
    if (m_feeding) {
        m_pumpAfterFeed = true;
        return;
    }
    if (m_pumping)
        return;
    m_pumping = true;
    while (!m_current && !m_settling && !m_queue.isEmpty())
        start(m_queue.takeFirst());
    m_pumping = false;
    noteIdle();
}

void DeviceSession::start(Pending pending) {
    if (pending.hasOwner && !pending.request.owner)
        return; // its asker is gone
    const DeviceRequest& request = pending.request;
    const bool modbus = request.kind == DeviceRequest::Kind::Modbus;
    const bool awaitsReply = modbus || request.expect != DeviceRequest::Expect::Nothing;
    m_current = std::make_unique<Pending>(std::move(pending));
    m_anyLine.clear();
    if (awaitsReply && !modbus && m_quickReplies)
        setQuickInterval(true);
    if (modbus && m_current->request.timeoutMs >= 0)
        m_modbus.setTimeoutMs(m_current->request.timeoutMs);
    m_current->sentMs = MonotonicMs();
    if (!write(m_current->request.bytes)) {
        finish(DeviceResult{});
        return;
    }
    if (modbus)
        m_modbus.sent(m_current->request.modbus, m_current->sentMs);
    if (!awaitsReply) {
        DeviceResult result;
        result.status = DeviceResult::Status::Answered;
        finish(result);
        return;
    }
    if (const int timeout = timeoutOf(*m_current); timeout > 0)
        m_timeout.start(timeout);
}

int DeviceSession::timeoutOf(const Pending& pending) const {
    const DeviceRequest& request = pending.request;
    if (request.kind == DeviceRequest::Kind::Modbus && request.timeoutMs < 0)
        return static_cast<int>(std::clamp<qint64>(m_modbus.timeoutMs(), 0, std::numeric_limits<int>::max()));
    return std::max(0, request.timeoutMs);
}

void DeviceSession::expireOverdue() {
    if (m_current)
        onTimeout();
}

bool DeviceSession::write(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return false;
    if (m_writer) {
        if (!m_writer(bytes))
            return false;
        emit sent(bytes);
        return true;
    }
    // The port takes at most 65,535 bytes per call; a longer block goes whole, in order.
    bool all = true;
    for (const QByteArray& block : SplitIntoBlocks(bytes)) {
        if (!m_comm->WriteCommData(block.constData(), static_cast<std::uint32_t>(block.size()))) {
            all = false;
            break;
        }
        emit sent(block);
    }
    return all;
}

void DeviceSession::finish(DeviceResult result) {
    m_timeout.stop();
    std::unique_ptr<Pending> done = std::move(m_current);
    if (!done)
        return;
    result.elapsedMs = MonotonicMs() - done->sentMs;
    deliver(*done, result);
    pump();
}

void DeviceSession::deliver(Pending& pending, const DeviceResult& result) {
    if (pending.hasOwner && !pending.request.owner)
        return;
    emit finished(pending.id, result);
    if (pending.done)
        pending.done(result);
}

void DeviceSession::onTimeout() {
    if (!m_current)
        return;
    const qint64 now = MonotonicMs();
    const int timeout = timeoutOf(*m_current);
    const qint64 left = timeout - (now - m_current->sentMs);
    if (left > 0) { // a timer may fire a little early, and a time-out may have grown
        m_timeout.start(static_cast<int>(left));
        return;
    }
    if (m_current->request.kind == DeviceRequest::Kind::Modbus)
        m_modbus.canSend(now); // counts the time-out
    beginSettling(m_settleMs >= 0 ? m_settleMs : timeout);
    DeviceResult result;
    result.status = DeviceResult::Status::TimedOut;
    finish(result);
}

void DeviceSession::beginSettling(int ms) {
    m_settling = true;
    m_settle.start(std::max(0, ms));
}

void DeviceSession::endSettling() {
    if (!m_settling)
        return;
    m_settling = false;
    m_settle.stop();
    pump();
}

void DeviceSession::feed(QByteArrayView block) {
    const QByteArray copy(block.data(), block.size());
    emit received(copy);
    m_feeding = true;
    const qint64 now = MonotonicMs();
    // A request whose time is up (its time-out may have been shortened, or be 0) has timed
    // out before this block: what the block holds is late for it.
    if (m_current && timeoutOf(*m_current) - (now - m_current->sentMs) <= 0)
        onTimeout();
    // A Modbus reply at the start of the block is no text, whatever its values' bytes are;
    // the text after it is.
    const qsizetype frame = ModbusReplyFrameLength(copy);
    takeModbus(copy, frame, now);
    takeText(QByteArrayView(copy).sliced(frame), now);
    m_feeding = false;
    if (m_pumpAfterFeed) {
        m_pumpAfterFeed = false;
        pump();
    }
}

void DeviceSession::takeModbus(QByteArrayView block, qsizetype frame, qint64 now) {
    if (m_current && m_current->request.kind == DeviceRequest::Kind::Modbus) {
        const DeviceRequest& request = m_current->request;
        const bool wanted = !request.stillWanted || request.stillWanted();
        // An asker that no longer wants the values is told of no page in view.
        const int pageInView = wanted ? request.modbus.page : ~request.modbus.page;
        const ModbusExchange::Reply reply = m_modbus.takeReply(block, pageInView, now);
        if (reply.kind != ModbusExchange::Reply::NotModbus)
            emit modbusCounted(reply);
        // Only a frame that answers this request ends it (a damaged one too); noise, a late
        // reply to an earlier request or a stray frame of the station leave it waiting.
        if (reply.kind == ModbusExchange::Reply::NotModbus || reply.kind == ModbusExchange::Reply::Late ||
            reply.kind == ModbusExchange::Reply::Unsolicited)
            return;
        DeviceResult result;
        result.status = DeviceResult::Status::Answered;
        result.modbus = reply;
        finish(result);
        return;
    }
    if (frame == 0)
        return;
    // A sound frame nobody waits for: the exchange counts it as too late when it answers the
    // last request sent.
    const ModbusExchange::Reply reply = m_modbus.takeReply(block, -1, now);
    if (reply.kind != ModbusExchange::Reply::NotModbus)
        emit modbusCounted(reply);
    dropReply(block.first(frame).toByteArray());
}

void DeviceSession::takeText(QByteArrayView text, qint64 now) {
    const QList<QByteArray> lines = m_replies.feed(text, now);
    if (m_current && m_current->request.kind == DeviceRequest::Kind::Text &&
        m_current->request.expect == DeviceRequest::Expect::AnyLine) {
        takeAnyLine(text);
        return;
    }
    if (m_settling && (!lines.isEmpty() || lineEnd(text) >= 0)) {
        // The late reply has come: it is dropped, and the line is free again.
        dropReply(lines.isEmpty() ? text.toByteArray() : lines.first());
        return;
    }
    for (const QByteArray& line : lines) {
        const bool readInFlight = m_current && m_current->request.kind == DeviceRequest::Kind::Text &&
                                  m_current->request.expect == DeviceRequest::Expect::ReplyLine;
        if (readInFlight && (!m_current->request.accepts || m_current->request.accepts(line))) {
            DeviceResult result;
            result.status = DeviceResult::Status::Answered;
            result.line = line;
            finish(result);
        } else {
            dropReply(line);
        }
    }
}

void DeviceSession::takeAnyLine(QByteArrayView text) {
    m_anyLine.append(text);
    qsizetype from = 0;
    for (qsizetype end = lineEnd(m_anyLine); end >= 0; end = lineEnd(m_anyLine, from)) {
        const QByteArray line = m_anyLine.mid(from, end - from).trimmed();
        from = end + 1;
        if (!line.isEmpty()) {
            m_anyLine.clear();
            DeviceResult result;
            result.status = DeviceResult::Status::Answered;
            result.line = line;
            finish(result);
            return;
        }
    }
    m_anyLine.remove(0, from);
    if (m_anyLine.size() > ReplyAssembler::kMaxLineBytes)
        m_anyLine.clear();
}

void DeviceSession::dropReply(const QByteArray& reply) {
    const bool late = m_settling;
    if (late) {
        ++m_late;
        m_settling = false;
        m_settle.stop();
        m_pumpAfterFeed = m_pumpAfterFeed || m_feeding;
    } else {
        ++m_unsolicited;
    }
    emit dropped(reply, late);
    if (late && !m_feeding)
        pump();
}

void DeviceSession::setQuickInterval(bool quick) {
    if (m_writer || quick == m_quickSet || m_comm->Handle() == 0)
        return;
    if (quick) {
        m_restingInterval = m_comm->ReadIntervalTimeout();
        const quint32 interval = quickInterval(m_comm->BaudRate());
        if (interval >= m_restingInterval)
            return;
        m_comm->SetReadIntervalTimeout(interval);
    } else {
        m_comm->SetReadIntervalTimeout(m_restingInterval);
    }
    m_quickSet = quick;
}

void DeviceSession::noteIdle() {
    const bool now = idle();
    if (now && !m_current && m_queue.isEmpty())
        setQuickInterval(false);
    if (now == m_wasIdle)
        return;
    m_wasIdle = now;
    emit idleChanged(now);
}
