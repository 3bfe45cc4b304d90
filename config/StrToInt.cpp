#include "config/StrToInt.h"

#include "config/AppError.h"

#include <cstdint>

namespace {} // namespace

bool TryStrToInt(const QString& text, int* value) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return false;

    std::uint64_t magnitude = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < n; ++i) {
        const int digit =
            hex ? HexDigitValue(text[i])
                : (text[i].unicode() >= '0' && text[i].unicode() <= '9' ? text[i].unicode() - '0' : -1);
        if (digit < 0)
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit)
            return false;
    }
    // Two's-complement wrap gives hexadecimal its full 32 bits and -2147483648 its place.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    if (value)
        *value = static_cast<std::int32_t>(bits);
    return true;
}

int StrToInt(const QString& text) {
    int value = 0;
    if (!TryStrToInt(text, &value))
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text), AppError::Kind::Value);
    return value;
}

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
