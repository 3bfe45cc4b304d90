#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <array>
#include <cmath>
#include <vector>

// Widths of received text drawn one character after another (kerning off), so that a column
// of a line maps to an x position, and a line to the rows it wraps into, without shaping the
// line: only what is seen is ever shaped, when it is drawn.
class ReceiveRowMetrics {
public:
    ReceiveRowMetrics() : m_metrics(QFont()) {}

    // The font is taken with kerning off; drawing must use font().
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    // Whole pixels, so that rows already drawn can be moved by copying and still land where a
    // full repaint would draw them.
    qreal lineSpacing() const { return std::ceil(m_metrics.lineSpacing()); }
    qreal ascent() const { return m_metrics.ascent(); }
    qreal averageAdvance() const { return m_average; }

    // The advance of c drawn at x from the row's start (a tab moves to the next tab stop).
    qreal advance(char16_t c, qreal x) const;
    qreal width(QStringView row) const;
    qreal xOf(QStringView row, qsizetype column) const;
    // The column whose left edge is nearest to x.
    qsizetype columnAt(QStringView row, qreal x) const;
    // Where each row of the line ends when wrapped at the width: after the last blank or tab
    // that still fits (so hexadecimal pairs stay whole), else where the width is reached.
    // The last end is the line's length; a line always has at least one row.
    std::vector<qsizetype> wrap(QStringView line, qreal width) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latin1{};
    qreal m_average = 1;
    qreal m_tabStop = 80;
};
