#include "console/protocol/ReceivedBlock.h"

QString BlockAsText(const QByteArray& block) {
    return QString::fromLatin1(block);
}

QString BlockAsHex(const QByteArray& block) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString text(block.size() * 3, Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : block) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(digits[byte >> 4]);
        *out++ = QChar(digits[byte & 0x0F]);
        *out++ = QChar(u' ');
    }
    return text;
}

QString TimeStampPrefix(const QTime& time, const RegionalFormats& formats) {
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("\r\n") + two(time.hour()) + formats.timeSeparator + two(time.minute()) +
           formats.timeSeparator + two(time.second()) + u'\t';
}

std::optional<QString> ParseReply(const QString& blockText) {
    if (!blockText.contains(u'$'))
        return std::nullopt;
    const qsizetype equals = blockText.indexOf(u'=');
    const qsizetype lineEnd = blockText.indexOf(QStringLiteral("\r\n"));
    const qsizetype length = lineEnd - equals - 1;
    if (lineEnd < 0 || length <= 0)
        return QString();
    return blockText.mid(equals + 1, length);
}

QString ReplyLineValue(QByteArrayView line) {
    const qsizetype equals = line.indexOf('=');
    return QString::fromLatin1(equals < 0 ? line : line.sliced(equals + 1));
}
