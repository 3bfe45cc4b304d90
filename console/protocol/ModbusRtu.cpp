#include "console/protocol/ModbusRtu.h"

#include <array>

namespace {

// The two 256-entry tables that the Modbus standard publishes: for each index, the two bytes of
// the CRC register after shifting that index through the reflected polynomial 0xA001. The
// first table is what the low running byte takes from the high one, the second what the
// high running byte becomes.
struct CrcTables {
    std::array<quint8, 256> first{};
    std::array<quint8, 256> second{};
};

constexpr CrcTables makeTables() {
    CrcTables t;
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        t.first[i] = static_cast<quint8>(crc & 0xFFu);
        t.second[i] = static_cast<quint8>(crc >> 8);
    }
    return t;
}

constexpr CrcTables kTables = makeTables();
static_assert(kTables.first[1] == 0xC1 && kTables.second[1] == 0xC0);
static_assert(kTables.first[255] == 0x40 && kTables.second[255] == 0x40);

quint8 byteAt(QByteArrayView bytes, qsizetype i) {
    return static_cast<quint8>(bytes[i]);
}

} // namespace

quint16 ModbusCrc16(QByteArrayView bytes) {
    quint8 low = 0xFF;
    quint8 high = 0xFF;
    for (const char c : bytes) {
        const quint8 index = static_cast<quint8>(c) ^ low;
        low = high ^ kTables.first[index];
        high = kTables.second[index];
    }
    return static_cast<quint16>(high << 8 | low);
}

void AppendModbusCrc(QByteArray& frame) {
    const quint16 crc = ModbusCrc16(frame);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
}

bool HasValidModbusCrc(QByteArrayView frame) {
    if (frame.size() < 3)
        return false;
    const qsizetype body = frame.size() - 2;
    const quint16 crc = ModbusCrc16(frame.first(body));
    return byteAt(frame, body) == (crc & 0xFF) && byteAt(frame, body + 1) == (crc >> 8);
}

QByteArray ModbusReadRequest(qint32 station, qint32 firstRegister, qint32 count) {
    QByteArray frame;
    frame.reserve(8);
    frame.append(static_cast<char>(station & 0xFF));
    frame.append(static_cast<char>(kModbusReadHolding));
    frame.append(static_cast<char>((firstRegister >> 8) & 0xFF));
    frame.append(static_cast<char>(firstRegister & 0xFF));
    frame.append(static_cast<char>((count >> 8) & 0xFF));
    frame.append(static_cast<char>(count & 0xFF));
    AppendModbusCrc(frame);
    return frame;
}

std::optional<QList<quint16>> ParseReadReply(QByteArrayView block, qint32 station) {
    if (block.size() < 5 || byteAt(block, 0) != station || byteAt(block, 1) != kModbusReadHolding)
        return std::nullopt;
    const qsizetype byteCount = byteAt(block, 2);
    const qsizetype frameLength = 3 + byteCount + 2;
    if (byteCount == 0 || byteCount % 2 != 0 || block.size() < frameLength ||
        !HasValidModbusCrc(block.first(frameLength)))
        return std::nullopt;
    QList<quint16> values;
    values.reserve(byteCount / 2);
    for (qsizetype i = 3; i < 3 + byteCount; i += 2)
        values.append(static_cast<quint16>(byteAt(block, i) << 8 | byteAt(block, i + 1)));
    return values;
}

qsizetype ModbusReplyFrameLength(QByteArrayView block) {
    if (block.size() < 5)
        return 0;
    const quint8 function = byteAt(block, 1);
    qsizetype length = 0;
    if (function == kModbusReadHolding)
        length = 3 + byteAt(block, 2) + 2;
    else if (function == (kModbusReadHolding | kModbusExceptionFlag))
        length = 5;
    if (length == 0 || block.size() < length || !HasValidModbusCrc(block.first(length)))
        return 0;
    return length;
}

QByteArray ModbusReadReply(quint8 station, const QList<quint16>& values) {
    QByteArray frame;
    frame.reserve(5 + 2 * values.size());
    frame.append(static_cast<char>(station));
    frame.append(static_cast<char>(kModbusReadHolding));
    frame.append(static_cast<char>((2 * values.size()) & 0xFF));
    for (const quint16 v : values) {
        frame.append(static_cast<char>(v >> 8));
        frame.append(static_cast<char>(v & 0xFF));
    }
    AppendModbusCrc(frame);
    return frame;
}

QByteArray ModbusExceptionReply(quint8 station, quint8 function, quint8 code) {
    QByteArray frame;
    frame.append(static_cast<char>(station));
    frame.append(static_cast<char>(function | kModbusExceptionFlag));
    frame.append(static_cast<char>(code));
    AppendModbusCrc(frame);
    return frame;
}

QString ModbusExceptionMeaning(int code, Language language) {
    struct Meaning {
        int code;
        const char* text;
    };
    static const Meaning meanings[] = {
        {1, QT_TRANSLATE_NOOP("Modbus", "illegal function")},
        {2, QT_TRANSLATE_NOOP("Modbus", "illegal data address")},
        {3, QT_TRANSLATE_NOOP("Modbus", "illegal data value")},
        {4, QT_TRANSLATE_NOOP("Modbus", "server device failure")},
        {5, QT_TRANSLATE_NOOP("Modbus", "acknowledge")},
        {6, QT_TRANSLATE_NOOP("Modbus", "server device busy")},
        {8, QT_TRANSLATE_NOOP("Modbus", "memory parity error")},
        {10, QT_TRANSLATE_NOOP("Modbus", "gateway path unavailable")},
        {11, QT_TRANSLATE_NOOP("Modbus", "gateway target device failed to respond")},
    };
    for (const Meaning& m : meanings)
        if (m.code == code)
            return language.translate("Modbus", m.text);
    const QString number = QStringLiteral("0x%1").arg(code, 2, 16, QLatin1Char('0'));
    return language.translate("Modbus", "exception %1").arg(number);
}
