#include "console/protocol/SessionLogLine.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void appendEscaped(QByteArray& out, QByteArrayView bytes) {
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += ch;
            } else {
                out += "\\x";
                out += kHexDigits[c >> 4];
                out += kHexDigits[c & 15];
            }
        }
    }
}

void appendHex(QByteArray& out, QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            out += ' ';
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 15];
    }
}

} // namespace

QByteArray SessionLogLine(const QDateTime& time, WireDirection direction, QByteArrayView bytes) {
    QByteArray line;
    line.reserve(40 + 5 * bytes.size());
    line += time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    line += direction == WireDirection::Sent ? "\tTX\t" : "\tRX\t";
    line += QByteArray::number(bytes.size());
    line += '\t';
    appendEscaped(line, bytes);
    line += '\t';
    appendHex(line, bytes);
    line += '\n';
    return line;
}
