#include "tools/sim/SimulatedDevice.h"

#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"
#include "console/protocol/ModbusRtu.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

constexpr qsizetype kModbusRequestBytes = 8;
constexpr quint16 kMaxReadCount = 125; // what fits one reply
constexpr qsizetype kMaxLineBytes = 4096;

quint8 byteAt(QByteArrayView bytes, qsizetype i) {
    return static_cast<quint8>(bytes[i]);
}
quint16 be16(QByteArrayView bytes, qsizetype i) {
    return static_cast<quint16>(byteAt(bytes, i) << 8 | byteAt(bytes, i + 1));
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

SimulatedDevice::SimulatedDevice(Setup setup)
    : m_blocks(std::move(setup.blocks)), m_text(std::move(setup.textValues)) {
    m_options = std::move(setup);
    m_options.textReplyPieces = std::max(1, m_options.textReplyPieces);
}

QByteArray SimulatedDevice::receive(QByteArrayView bytes, qint64 nowMs) {
    if (!m_pending.isEmpty() && nowMs - m_lastByteMs >= kGapMs)
        process(m_lastByteMs, true);
    if (!bytes.isEmpty()) {
        m_pending.append(bytes);
        m_lastByteMs = nowMs;
        process(nowMs, false);
    }
    return takeDue(nowMs);
}

QByteArray SimulatedDevice::idle(qint64 nowMs) {
    if (!m_pending.isEmpty() && nowMs - m_lastByteMs >= kGapMs)
        process(nowMs, true);
    return takeDue(nowMs);
}

void SimulatedDevice::sendText(const QByteArray& reply, qint64 nowMs) {
    const int pieces = static_cast<int>(std::min<qsizetype>(m_options.textReplyPieces, reply.size()));
    if (pieces <= 1) {
        schedule(reply, nowMs);
        return;
    }
    for (int k = 0; k < pieces; ++k) {
        const qsizetype from = reply.size() * k / pieces;
        const qsizetype to = reply.size() * (k + 1) / pieces;
        schedule(reply.mid(from, to - from), nowMs + k * m_options.piecePauseMs);
    }
}

void SimulatedDevice::schedule(const QByteArray& bytes, qint64 dueMs) {
    if (bytes.isEmpty())
        return;
    auto at = m_outbox.end();
    while (at != m_outbox.begin() && std::prev(at)->dueMs > dueMs)
        --at;
    m_outbox.insert(at, {dueMs, bytes});
}

QByteArray SimulatedDevice::takeDue(qint64 nowMs) {
    QByteArray out;
    while (!m_outbox.isEmpty() && m_outbox.front().dueMs <= nowMs)
        out += m_outbox.takeFirst().bytes;
    return out;
}

quint16 SimulatedDevice::registerValue(quint8 station, quint16 address, qint64 nowMs) {
    // A triangle wave of one step per second over 0..99, phase-shifted per register, on top
    // of a per-register level.
    const qint64 step = (nowMs / 1000 + address * 7 + station * 13) % 200;
    const qint64 wave = step < 100 ? step : 200 - step;
    const qint64 level = 500 + 10 * ((address * 37 + station * 11) % 50);
    return static_cast<quint16>(level + wave);
}

bool SimulatedDevice::isStation(quint8 byte) const {
    for (const RegisterBlock& b : m_blocks) {
        if (b.station == byte)
            return true;
    }
    return false;
}

bool SimulatedDevice::hasRegisters(quint8 station, quint32 first, quint32 count) const {
    for (quint32 reg = first; reg < first + count; ++reg) {
        bool found = false;
        for (const RegisterBlock& b : m_blocks) {
            if (b.station == station && reg >= b.first && reg < quint32(b.first) + b.count) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

void SimulatedDevice::process(qint64 nowMs, bool endOfBurst) {
    while (!m_pending.isEmpty()) {
        const quint8 first = byteAt(m_pending, 0);
        // A station address followed by a function code (not a text character) starts a frame.
        const bool frameStart = isStation(first) && (m_pending.size() < 2 || byteAt(m_pending, 1) < 0x20 ||
                                                     byteAt(m_pending, 1) >= 0x80);
        if (frameStart) {
            if (m_pending.size() < kModbusRequestBytes) {
                if (endOfBurst)
                    m_pending.clear(); // a frame cut short by silence is void
                break;
            }
            const QByteArrayView frame(m_pending.constData(), kModbusRequestBytes);
            if (HasValidModbusCrc(frame))
                schedule(answerModbus(frame, nowMs), nowMs + m_options.modbusDelayMs);
            m_pending.remove(0, kModbusRequestBytes);
            continue;
        }
        if (first != '$') {
            m_pending.remove(0, 1); // line ends, free text and other stations' traffic
            continue;
        }
        qsizetype end = 0;
        while (end < m_pending.size() && !isLineEnd(m_pending[end]))
            ++end;
        if (end == m_pending.size()) {
            if (endOfBurst) {
                qint64 delay = 0;
                const QByteArray reply = answerLine(m_pending, &delay);
                sendText(reply, nowMs + delay);
                m_pending.clear();
            } else if (m_pending.size() > kMaxLineBytes) {
                m_pending.clear();
            }
            break;
        }
        qint64 delay = 0;
        const QByteArray reply = answerLine(m_pending.left(end), &delay);
        sendText(reply, nowMs + delay);
        while (end < m_pending.size() && isLineEnd(m_pending[end]))
            ++end;
        m_pending.remove(0, end);
    }
}

QByteArray SimulatedDevice::answerLine(const QByteArray& line, qint64* delayMs) {
    *delayMs = 0;
    const QByteArray unknown = "ERR unknown command\r\n";
    const bool read = line.startsWith("$KRDV=");
    const bool write = line.startsWith("$KWRV=");
    if (!read && !write)
        return unknown;
    const QByteArray rest = line.mid(6);
    if (read) {
        const qsizetype hash = rest.indexOf('#');
        int addr = 0;
        if (hash < 0 || !TryStrToInt(QString::fromLatin1(rest.left(hash)), &addr))
            return unknown;
        if (m_options.silentAddresses.contains(addr))
            return {};
        *delayMs = m_options.replyDelayMs.value(addr, 0);
        return "$KRDV," + QByteArray::number(addr) + '=' + textValue(addr).toLatin1() + "\r\n";
    }
    const qsizetype comma = rest.indexOf(',');
    const qsizetype hash = rest.lastIndexOf('#');
    int addr = 0;
    if (comma < 0 || hash < comma || !TryStrToInt(QString::fromLatin1(rest.left(comma)), &addr))
        return unknown;
    if (m_options.silentAddresses.contains(addr))
        return {};
    *delayMs = m_options.replyDelayMs.value(addr, 0);
    if (!m_options.ignoredWriteAddresses.contains(addr))
        m_text.insert(addr, QString::fromLatin1(rest.mid(comma + 1, hash - comma - 1)));
    if (m_options.dollarWriteAck)
        return "$KWRV=OK\r\n";
    return "OK KWRV," + QByteArray::number(addr) + "\r\n";
}

QByteArray SimulatedDevice::answerModbus(QByteArrayView frame, qint64 nowMs) const {
    const quint8 station = byteAt(frame, 0);
    const quint8 function = byteAt(frame, 1);
    if (function != kModbusReadHolding)
        return ModbusExceptionReply(station, function, kModbusIllegalFunction);
    const quint16 first = be16(frame, 2);
    const quint16 count = be16(frame, 4);
    if (count == 0 || count > kMaxReadCount)
        return ModbusExceptionReply(station, function, kModbusIllegalValue);
    using Fault = Setup::ModbusFault;
    if (!hasRegisters(station, first, count) || m_options.modbusFault == Fault::Exception)
        return ModbusExceptionReply(station, function, kModbusIllegalAddress);
    if (m_options.modbusFault == Fault::Silent)
        return {};
    const quint32 answered = m_options.modbusFault == Fault::WrongLength ? count + 1u : count;
    QList<quint16> values;
    for (quint32 i = 0; i < answered; ++i)
        values.append(m_options.dollarRegisters
                          ? kDollarRegisterValues[(first + i) % 3]
                          : registerValue(station, static_cast<quint16>(first + i), nowMs));
    QByteArray reply = ModbusReadReply(station, values);
    if (m_options.modbusFault == Fault::BadCrc)
        reply.back() = static_cast<char>(reply.back() ^ 0x5A);
    return reply;
}

SimulatedDevice::Setup LoadSimulatorSetup(const QString& configPath) {
    SimulatedDevice::Setup setup;
    // Prepared for writing, so an absent attribute reads as empty text instead of failing.
    const XmlDocument doc = XmlDocument::openForWriting(configPath);
    const XmlNode root = doc.findRoot();

    const XmlNode autoPages = root.findChild(QStringLiteral("GROUP_AUTO"));
    for (int i = 0; i < autoPages.childCount(); ++i) {
        const XmlNode page = autoPages.child(i);
        int station = 0, first = 0, count = 0;
        if (!page.attributeEquals(QStringLiteral("protocol"), QStringLiteral("MODBUS")) ||
            !TryStrToInt(page.readAttribute(QStringLiteral("equAddr")), &station) ||
            !TryStrToInt(page.readAttribute(QStringLiteral("startReg")), &first) ||
            !TryStrToInt(page.readAttribute(QStringLiteral("regLen")), &count) || count <= 0)
            continue;
        // The console sends only the low bits of each field, so that is what the device sees.
        const quint16 firstRegister = static_cast<quint16>(first & 0xFFFF);
        const qint64 room = 0x10000 - firstRegister;
        setup.blocks.append({static_cast<quint8>(station & 0xFF), firstRegister,
                             static_cast<quint16>(qMin<qint64>(qMin(count, 0xFFFF), room))});
    }

    const XmlNode paramPages = root.findChild(QStringLiteral("GROUP_DYNC"));
    for (int t = 0; t < paramPages.childCount(); ++t) {
        const XmlNode tab = paramPages.child(t);
        for (int i = 0; i < tab.childCount(); ++i) {
            const XmlNode item = tab.child(i);
            int addr = 0;
            if (item.tagName().endsWith(QLatin1String("xxx")) ||
                !item.attributeEquals(QStringLiteral("controlType"), QStringLiteral("ComboBox")) ||
                !TryStrToInt(item.readAttribute(QStringLiteral("addr")), &addr))
                continue;
            QStringList values;
            SplitByDelimiter(item.readAttribute(QStringLiteral("itemsValue")), QStringLiteral("|"), &values);
            if (!values.isEmpty() && !values.first().isEmpty())
                setup.textValues.insert(addr, values.first());
        }
    }
    return setup;
}
