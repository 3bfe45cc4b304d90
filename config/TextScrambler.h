#pragma once

#include <QString>

// Keys of the two stored copies of the contact address, and the key used when one is empty.
inline const QString web1ScrambleKey = QStringLiteral("618tav3");
inline const QString web2ScrambleKey = QStringLiteral("240tav6");
inline const QString defaultScrambleKey = QStringLiteral("morvik");

// Turns text into uppercase hexadecimal pairs: a random seed, then one pair per character.
// Character codes 1..254 survive the round trip; 255 does too unless the pair before it is
// FF (then it comes back as 0); 0 comes back as 255, and codes above 255 are lost.
QString ScrambleText(const QString& text, const QString& key);

// The inverse. Throws AppError("'$<pair>' is not a valid integer value") for a pair that is
// not hexadecimal, and for a text of two characters or fewer (its first pair is empty).
QString UnscrambleText(const QString& text, const QString& key);
