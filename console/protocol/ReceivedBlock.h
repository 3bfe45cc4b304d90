#pragma once

#include "console/protocol/RegionalFormats.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTime>
#include <optional>

// How a received block is shown and what reply value it carries.

// One character per byte with the byte's value as its code (0xB0 gives U+00B0).
QString BlockAsText(const QByteArray& block);
// Two upper-case hexadecimal digits and a space per byte: 01 AB gives "01 AB ".
QString BlockAsHex(const QByteArray& block);
// CR LF, "HH:MM:SS" with the region's time separator, and a tab.
QString TimeStampPrefix(const QTime& time, const RegionalFormats& formats);

// The receive box is emptied before a block once it holds more than this many characters.
constexpr qsizetype kAutoClearThreshold = 1000;
inline bool ShouldAutoClear(qsizetype shownCharacters) {
    return shownCharacters > kAutoClearThreshold;
}

// The reply value of a block's text form. A block without "$" is no reply. Otherwise the
// value is everything between the first "=" (the block's start when there is none) and the
// first CR LF; empty when there is no CR LF or it comes first. Nothing else is checked:
// "$X=12#" CR LF gives "12#".
std::optional<QString> ParseReply(const QString& blockText);

// The value of a whole reply line (without its CR LF): everything after its first "=", or
// the whole line when it has none. "$KRDV,5=12#" gives "12#".
QString ReplyLineValue(QByteArrayView line);
