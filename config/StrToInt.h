#pragma once

#include <QString>

// Reads a 32-bit integer the way the configuration's original tooling did: leading blanks,
// an optional sign, then decimal digits or a hexadecimal number after "$", "x" or "0x".
// Hexadecimal takes the full 32 bits ("$FFFFFFFF" is -1); decimal must fit a signed int.
// Anything else, trailing blanks included, throws AppError("'<text>' is not a valid integer value").
int StrToInt(const QString& text);

// The same rules without throwing; *value is set only on success.
bool TryStrToInt(const QString& text, int* value);

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(QChar c);
