#include "config/TextScrambler.h"

#include "config/StrToInt.h"

#include <QRandomGenerator>

namespace {

QString hexPair(int value) {
    return QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

// Walks the key's characters 1, 2, ..., last, 1, 2, ... as both directions must.
class KeyCycle {
public:
    explicit KeyCycle(const QString& key) : m_key(key.isEmpty() ? defaultScrambleKey : key) {}
    int next() {
        m_pos = m_pos < m_key.size() ? m_pos + 1 : 1;
        return m_key[m_pos - 1].unicode();
    }

private:
    QString m_key;
    qsizetype m_pos = 0;
};

int pairValue(const QString& text, qsizetype index) {
    return StrToInt(u'$' + text.mid(index, 2));
}

} // namespace

QString ScrambleText(const QString& text, const QString& key) {
    KeyCycle keyCycle(key);
    // An obfuscation for addresses, not a secret: the seed only has to vary between calls.
    const int seed = static_cast<int>(QRandomGenerator::global()->bounded(256));
    QString out = hexPair(seed);
    out.reserve(2 + 2 * text.size());
    int prev = seed;
    for (QChar c : text) {
        const int x = (c.unicode() + prev) % 255;
        const int y = keyCycle.next() ^ x;
        out += hexPair(y);
        prev = y;
    }
    return out;
}

QString UnscrambleText(const QString& text, const QString& key) {
    KeyCycle keyCycle(key);
    int prev = pairValue(text, 0);
    QString out;
    // Positions are 0-based here; the loop reads at least one pair and stops once fewer than
    // two characters follow, so a lone trailing digit is read only right after the seed.
    qsizetype i = 2;
    do {
        const int v = pairValue(text, i);
        const int x = keyCycle.next() ^ v;
        const int c = x > prev ? x - prev : x - prev + 255;
        out += QChar(static_cast<char16_t>(c));
        prev = v;
        i += 2;
    } while (text.size() > i + 1);
    return out;
}
