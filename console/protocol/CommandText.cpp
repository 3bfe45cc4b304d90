#include "console/protocol/CommandText.h"

#include "config/AppError.h"
#include "config/StrToInt.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString ReadCommand(qint32 addr) {
    return QStringLiteral("$KRDV=") + QString::number(addr) + u'#' + kCrLf;
}

QString WriteCommand(qint32 addr, const QString& value) {
    return QStringLiteral("$KWRV=") + QString::number(addr) + u',' + value + u'#' + kCrLf;
}

QString NowText(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    return QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + u'/' + twoDigits(d.month()) + u'/' +
           twoDigits(d.day()) + u' ' + twoDigits(t.hour()) + u':' + twoDigits(t.minute()) + u':' +
           twoDigits(t.second());
}

QString SubstituteNow(const QString& command, const QString& nowText) {
    QString result = command;
    // Searching the result from past each insertion, so a time text can never be re-matched.
    qsizetype from = 0;
    const QString token = QStringLiteral("[NOW]");
    for (qsizetype at; (at = result.indexOf(token, from, Qt::CaseInsensitive)) >= 0;) {
        result.replace(at, token.size(), nowText);
        from = at + nowText.size();
    }
    return result;
}

QString FixedCommand(const QString& command, const QDateTime& now) {
    return SubstituteNow(command, NowText(now)) + kCrLf;
}

QString HexFieldToDecimal(const QString& text) {
    quint64 value = 0;
    bool valid = !text.isEmpty();
    for (const QChar c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            valid = false;
            break;
        }
        value = value * 16 + static_cast<quint64>(digit);
        if (value > 0xFFFFFFFFull) {
            valid = false;
            break;
        }
    }
    if (!valid)
        throw AppError(QStringLiteral("'$%1' is not a valid integer value").arg(text));
    return QString::number(static_cast<qint32>(static_cast<quint32>(value)));
}

std::optional<QString> ReplyValueToHexField(const QString& value) {
    int number = 0;
    if (!TryStrToInt(value, &number))
        return std::nullopt;
    return QStringLiteral("%1").arg(static_cast<quint32>(number), 4, 16, QLatin1Char('0')).toUpper();
}

QByteArray LineToBytes(const QString& line) {
    qsizetype n = line.indexOf(QChar(u'\0'));
    if (n < 0)
        n = line.size();
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(line[i].unicode() & 0xFF);
    return bytes;
}

std::optional<UnsendableCharacter> FirstUnsendableCharacter(const QString& line) {
    // Every character before the first unsendable one is a single code unit, so its position
    // is its index + 1; a surrogate pair is always the unsendable one.
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.unicode() == 0)
            break;
        if (c.unicode() <= 0xFF)
            continue;
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(c, line[i + 1]);
        return UnsendableCharacter{i + 1, code};
    }
    return std::nullopt;
}

QString UnsendableCharacterMessage(const UnsendableCharacter& character, Language language) {
    const QString shown = QString::fromUcs4(&character.codePoint, 1);
    const QString code =
        QStringLiteral("U+%1").arg(static_cast<uint>(character.codePoint), 4, 16, QLatin1Char('0')).toUpper();
    return language
        .translate("CommandText", "Character %1, \"%2\" (%3), cannot be sent as one byte; nothing was sent")
        .arg(character.position)
        .arg(shown, code);
}

QList<QByteArray> SplitIntoBlocks(const QByteArray& bytes, qsizetype maxBlock) {
    QList<QByteArray> blocks;
    if (maxBlock <= 0)
        return blocks;
    for (qsizetype at = 0; at < bytes.size(); at += maxBlock)
        blocks.append(bytes.mid(at, maxBlock));
    return blocks;
}

int CountSubStr(const QString& pattern, const QString& text) {
    if (pattern.isEmpty())
        return 0;
    int count = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != pattern[0]) {
            ++i;
            continue;
        }
        qsizetype k = 1;
        while (k < pattern.size() && i + k < text.size() && text[i + k] == pattern[k])
            ++k;
        if (k == pattern.size())
            ++count;
        i += k;
    }
    return count;
}
