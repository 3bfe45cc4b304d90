#include "console/protocol/SessionLogLine.h"

#include <QDateTime>

#include <cstring>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

char* putHexPair(char* p, unsigned char c) {
    *p++ = kHexDigits[c >> 4];
    *p++ = kHexDigits[c & 15];
    return p;
}

char* putEscaped(char* p, QByteArrayView bytes) {
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            *p++ = ch;
            continue;
        }
        *p++ = '\\';
        switch (c) {
        case '\r': *p++ = 'r'; break;
        case '\n': *p++ = 'n'; break;
        case '\t': *p++ = 't'; break;
        case '\\': *p++ = '\\'; break;
        default:
            *p++ = 'x';
            p = putHexPair(p, c);
        }
    }
    return p;
}

char* putHex(char* p, QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            *p++ = ' ';
        p = putHexPair(p, static_cast<unsigned char>(bytes[i]));
    }
    return p;
}

char* putDecimal(char* p, qint64 value, int minDigits) {
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 || n < minDigits);
    while (n > 0)
        *p++ = digits[--n];
    return p;
}

} // namespace

void SessionLogLineWriter::append(QByteArray& out, qint64 msecsSinceEpoch, WireDirection direction,
                                  QByteArrayView bytes) {
    // Floor division, so that a time before 1970 still splits into second and milliseconds.
    qint64 second = msecsSinceEpoch / 1000;
    qint64 millis = msecsSinceEpoch % 1000;
    if (millis < 0) {
        millis += 1000;
        --second;
    }
    if (second != m_second) {
        const QByteArray text = QDateTime::fromSecsSinceEpoch(second)
                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                    .toLatin1();
        std::memset(m_dateTime, ' ', sizeof m_dateTime);
        std::memcpy(m_dateTime, text.constData(), std::min<std::size_t>(text.size(), sizeof m_dateTime));
        m_second = second;
    }

    // Worst case: every byte escaped as \xHH (4) plus its hexadecimal pair and space (3).
    const qsizetype start = out.size();
    out.resize(start + 64 + 7 * bytes.size());
    char* p = out.data() + start;
    std::memcpy(p, m_dateTime, sizeof m_dateTime);
    p += sizeof m_dateTime;
    *p++ = '.';
    p = putDecimal(p, millis, 3);
    std::memcpy(p, direction == WireDirection::Sent ? "\tTX\t" : "\tRX\t", 4);
    p += 4;
    p = putDecimal(p, bytes.size(), 1);
    *p++ = '\t';
    p = putEscaped(p, bytes);
    *p++ = '\t';
    p = putHex(p, bytes);
    *p++ = '\n';
    out.truncate(p - out.constData());
}

QByteArray SessionLogLine(qint64 msecsSinceEpoch, WireDirection direction, QByteArrayView bytes) {
    QByteArray line;
    SessionLogLineWriter().append(line, msecsSinceEpoch, direction, bytes);
    return line;
}
