#include "console/protocol/ModbusExchange.h"

#include "console/protocol/ModbusRtu.h"

namespace {

quint8 byteAt(QByteArrayView bytes, qsizetype i) {
    return static_cast<quint8>(bytes[i]);
}

} // namespace

bool ModbusExchange::canSend(qint64 nowMs) {
    noteTimeOut(nowMs);
    return !m_waiting;
}

void ModbusExchange::sent(const Request& request, qint64 nowMs) {
    m_request = request;
    m_anySent = true;
    m_waiting = true;
    m_timedOut = false;
    m_sentMs = nowMs;
    ++m_health.sent;
}

ModbusExchange::Reply ModbusExchange::takeReply(QByteArrayView block, int pageInView, qint64 nowMs) {
    noteTimeOut(nowMs);
    // The station is compared whole: a station above 255 goes out as its low byte and so is
    // never answered by that address.
    if (!m_anySent || block.size() < 2 || byteAt(block, 0) != m_request.station)
        return {};
    const quint8 function = byteAt(block, 1);
    if (function != kModbusReadHolding && function != (kModbusReadHolding | kModbusExceptionFlag))
        return {};
    if (!m_waiting) {
        // The device did answer a request already counted as timed out: the request's one
        // outcome becomes a late reply.
        if (m_timedOut) {
            m_timedOut = false;
            --m_health.timedOut;
            ++m_health.dropped;
            return {Reply::Late, {}, m_request};
        }
        ++m_health.unsolicited;
        return {Reply::Unsolicited, {}, m_request};
    }
    if (ModbusReplyFrameLength(block) == 0)
        return finish(Reply::BadCrc, m_health.badCrc, nowMs);
    if (m_request.page != pageInView) {
        ++m_health.dropped;
        m_waiting = false;
        return {Reply::Dropped, {}, m_request};
    }
    if (function != kModbusReadHolding) {
        Reply reply = finish(Reply::Exception, m_health.exceptions, nowMs);
        reply.exceptionCode = byteAt(block, 2);
        m_health.lastException = reply.exceptionCode;
        return reply;
    }
    if (byteAt(block, 2) != 2 * (m_request.count & 0xFFFF))
        return finish(Reply::WrongLength, m_health.wrongLength, nowMs);
    Reply reply = finish(Reply::Good, m_health.good, nowMs);
    reply.values = ParseReadReply(block, m_request.station).value_or(QList<quint16>{});
    return reply;
}

void ModbusExchange::noteTimeOut(qint64 nowMs) {
    if (m_waiting && nowMs - m_sentMs >= m_timeoutMs) {
        m_waiting = false;
        m_timedOut = true;
        ++m_health.timedOut;
    }
}

void ModbusExchange::reset() {
    m_request = {};
    m_anySent = false;
    m_waiting = false;
    m_timedOut = false;
    m_health = {};
}

ModbusExchange::Reply ModbusExchange::finish(Reply::Kind kind, quint64& counter, qint64 nowMs) {
    ++counter;
    m_waiting = false;
    m_health.lastReplyMs = nowMs - m_sentMs;
    m_health.totalReplyMs += m_health.lastReplyMs;
    ++m_health.timedReplies;
    return {kind, {}, m_request};
}
