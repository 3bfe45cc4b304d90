#include "console/protocol/AutoReadPoller.h"

#include "config/StrToInt.h"
#include "console/protocol/ModbusRtu.h"

#include <QRegularExpression>
#include <cmath>

AutoReadPoller::Tick AutoReadPoller::tick(bool autoReadChecked, const QString& intervalText, int pageIndex,
                                          const QList<TAutoRead>& autoReads) {
    Tick result;
    if (!autoReadChecked)
        return result;
    int interval = 0;
    if (TryStrToInt(intervalText, &interval) && interval > kMinimumInterval)
        result.newInterval = interval;
    if (pageIndex < 0 || pageIndex >= autoReads.size())
        return result;
    m_pageCursor = pageIndex;
    const TAutoRead& page = autoReads[pageIndex];
    if (page.pro != QLatin1String("MODBUS"))
        return result;
    m_cur = page;
    result.request = ModbusReadRequest(page.equAddr, page.startAddr, page.readSize);
    return result;
}

QList<AutoReadPoller::RegisterValue> AutoReadPoller::checkReply(bool autoReadChecked,
                                                                QByteArrayView block) const {
    QList<RegisterValue> registers;
    if (!autoReadChecked || m_cur.pro != QLatin1String("MODBUS"))
        return registers;
    const auto values = ParseReadReply(block, m_cur.equAddr);
    if (!values)
        return registers;
    for (qsizetype i = 0; i < values->size(); ++i)
        registers.append({m_cur.startAddr + static_cast<qint32>(i), values->at(i)});
    return registers;
}

QStringList SplitHintEntries(const QString& hint) {
    const auto isBlank = [](QChar c) { return c.unicode() <= u' '; };
    QStringList entries;
    const qsizetype n = hint.size();
    qsizetype i = 0;
    while (i < n && isBlank(hint[i]))
        ++i;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && !isBlank(hint[i]) && hint[i] != u'|')
            ++i;
        entries.append(hint.mid(start, i - start));
        while (i < n && isBlank(hint[i]))
            ++i;
        if (i < n && hint[i] == u'|') {
            if (i + 1 == n)
                entries.append(QString());
            ++i;
            while (i < n && isBlank(hint[i]))
                ++i;
        }
    }
    return entries;
}

std::optional<double> ParseRegionalNumber(const QString& text, const QString& decimalSeparator) {
    QString s = text.trimmed();
    // Configuration files travel between PCs, so "." is always a decimal point; the region's
    // own separator is taken too, for files written by hand on a comma-decimal PC. The
    // pattern below still refuses a number holding two of them.
    if (!decimalSeparator.isEmpty() && decimalSeparator != QLatin1String("."))
        s.replace(decimalSeparator, QStringLiteral("."));
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    if (!number.match(s).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = s.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString FormatGeneral(double value, const QString& decimalSeparator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0"); // no "-0" from a negative factor
    // %g with 15 digits switches to an exponent at the same points as the classic general
    // format (below 1E-4, from 1E15 on); only the exponent's spelling differs.
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        const QString mantissa = text.left(e);
        const int exponent = text.mid(e + 1).toInt();
        text = mantissa + u'E' + QString::number(exponent);
    }
    text.replace(u'.', decimalSeparator);
    return text;
}

std::optional<double> ScaleAutoNumber(const QString& hint, quint16 value, const QString& decimalSeparator) {
    const QStringList entries = SplitHintEntries(hint);
    if (entries.size() < 2)
        return std::nullopt;
    const auto offset = ParseRegionalNumber(entries[0], decimalSeparator);
    const auto factor = ParseRegionalNumber(entries[1], decimalSeparator);
    if (!offset || !factor)
        return std::nullopt;
    return (value + *offset) * *factor;
}

std::optional<QString> ScaleAutoValue(const QString& hint, quint16 value, const QString& decimalSeparator) {
    const auto scaled = ScaleAutoNumber(hint, value, decimalSeparator);
    if (!scaled)
        return std::nullopt;
    return FormatGeneral(*scaled, decimalSeparator);
}
