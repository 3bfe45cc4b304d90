#include "console/protocol/RegionalFormats.h"

namespace {

// The first run of characters between two field letters, skipping quoted literals.
QString separatorOf(const QString& format, const QString& fallback) {
    bool inQuote = false;
    bool seenField = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote)
            continue;
        if (c.isLetter()) {
            seenField = true;
            continue;
        }
        if (seenField && !c.isSpace())
            return QString(c);
    }
    return fallback;
}

} // namespace

RegionalFormats RegionalFormats::fromLocale(const QLocale& locale) {
    RegionalFormats formats;
    formats.dateSeparator = separatorOf(locale.dateFormat(QLocale::ShortFormat), formats.dateSeparator);
    formats.timeSeparator = separatorOf(locale.timeFormat(QLocale::ShortFormat), formats.timeSeparator);
    const QString decimal = locale.decimalPoint();
    if (!decimal.isEmpty())
        formats.decimalSeparator = decimal;
    return formats;
}
