#include "console/ReceiveRowMetrics.h"

#include <algorithm>
#include <cmath>

namespace {

// As in a plain text box.
constexpr qreal kTabStopPixels = 80;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

} // namespace

void ReceiveRowMetrics::setFont(const QFont& font) {
    m_font = font;
    m_font.setKerning(false);
    m_metrics = QFontMetricsF(m_font);
    qreal sum = 0;
    for (int c = 0; c < 256; ++c) {
        m_latin1[std::size_t(c)] = m_metrics.horizontalAdvance(QChar(c));
        if (c >= 0x20 && c < 0x7F)
            sum += m_latin1[std::size_t(c)];
    }
    m_average = std::max<qreal>(1, sum / (0x7F - 0x20));
    m_tabStop = kTabStopPixels;
}

qreal ReceiveRowMetrics::advance(char16_t c, qreal x) const {
    if (c == u'\t')
        return (std::floor(x / m_tabStop) + 1) * m_tabStop - x;
    if (c < 256)
        return m_latin1[c];
    return m_metrics.horizontalAdvance(QChar(c));
}

qreal ReceiveRowMetrics::width(QStringView row) const {
    qreal x = 0;
    for (const QChar c : row)
        x += advance(c.unicode(), x);
    return x;
}

qreal ReceiveRowMetrics::xOf(QStringView row, qsizetype column) const {
    return width(row.first(std::clamp<qsizetype>(column, 0, row.size())));
}

qsizetype ReceiveRowMetrics::columnAt(QStringView row, qreal x) const {
    qreal left = 0;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const qreal a = advance(row[i].unicode(), left);
        if (x < left + a / 2)
            return i;
        left += a;
    }
    return row.size();
}

std::vector<qsizetype> ReceiveRowMetrics::wrap(QStringView line, qreal width) const {
    std::vector<qsizetype> ends;
    qsizetype rowStart = 0;
    qsizetype afterBlank = -1; // a row may end just after its last blank
    qreal x = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        const qreal a = advance(c, x);
        // A blank may hang over the edge; the row ends after it.
        if (width > 0 && x + a > width && i > rowStart && !isBlank(c)) {
            const qsizetype end = afterBlank > rowStart ? afterBlank : i;
            ends.push_back(end);
            rowStart = end;
            afterBlank = -1;
            x = 0;
            for (qsizetype k = rowStart; k <= i; ++k)
                x += advance(line[k].unicode(), x);
        } else {
            x += a;
        }
        if (isBlank(c))
            afterBlank = i + 1;
    }
    ends.push_back(line.size());
    return ends;
}
