#pragma once

#include "config/Language.h"

#include "console/protocol/RegionalFormats.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The lines of the device's text protocol and the conversions around them.

// "$KRDV=<addr>#" CR LF.
QString ReadCommand(qint32 addr);
// "$KWRV=<addr>,<value>#" CR LF; the value goes in as it stands.
QString WriteCommand(qint32 addr, const QString& value);

// "YYYY/MM/DD HH:MM:SS" whatever the region: the device parses these bytes, so they must not
// change with the PC's date and time settings.
QString NowText(const QDateTime& now);
// Every "[NOW]", in any letter case, replaced by nowText.
QString SubstituteNow(const QString& command, const QString& nowText);
// A fixed command as sent: the time substituted and CR LF appended (no "#": the command
// carries its own).
QString FixedCommand(const QString& command, const QDateTime& now);
// The same; the region is not consulted (kept for callers that still pass one).
inline QString FixedCommand(const QString& command, const QDateTime& now, const RegionalFormats&) {
    return FixedCommand(command, now);
}

// The value a hexadecimal field writes: its text read as up to 32 bits of hexadecimal
// (digits and A-F in either case, leading zeros allowed, nothing else) and written as a
// signed decimal, so FFFFFFFF gives "-1". Empty or other text throws
// AppError("'$<text>' is not a valid integer value").
QString HexFieldToDecimal(const QString& text);

// What a hexadecimal field shows for a reply value: the value read as an integer (decimal
// with optional sign and leading blanks, or hexadecimal after "$", "x" or "0x") written in
// upper-case hexadecimal of at least four digits; a negative number shows its 32-bit two's
// complement. No value when the text is not an integer.
std::optional<QString> ReplyValueToHexField(const QString& value);

// The bytes of a line: the low byte of each UTF-16 code unit, up to the first NUL.
QByteArray LineToBytes(const QString& line);

// A character that has no one-byte form (above U+00FF): its position among the line's
// characters, from 1, a pair of UTF-16 surrogates counting as one character.
struct UnsendableCharacter {
    qsizetype position = 0;
    char32_t codePoint = 0;
};
// The first such character in what the line sends (up to its first NUL); nothing when each
// character goes out as its own byte. A line holding one must not be sent at all: its low
// bytes would be other characters to the device ("中" would go out as "-").
std::optional<UnsendableCharacter> FirstUnsendableCharacter(const QString& line);
// What the operator is told: the character, its code and its position; nothing was sent.
QString UnsendableCharacterMessage(const UnsendableCharacter& character, Language language);

// The port takes at most 65,535 bytes per call; longer data goes in consecutive blocks
// so nothing is cut off. Empty data gives no block.
constexpr qsizetype kMaxBlockBytes = 65535;
QList<QByteArray> SplitIntoBlocks(const QByteArray& bytes, qsizetype maxBlock = kMaxBlockBytes);

// Occurrences of pattern in text, matches not overlapping; an empty pattern counts nothing.
int CountSubStr(const QString& pattern, const QString& text);
