// The receive view's text by offsets into toPlainText(): the terms assistive technology reads
// a text box in.
#include "console/ReceiveLogView.h"

#include <QScrollBar>

namespace {

// The notice, when shown, is the first line of the text.
qint64 prefixLength(const QString& notice) {
    return notice.isEmpty() ? 0 : notice.size() + 1;
}

} // namespace

qint64 ReceiveLogView::offsetOf(Position p) const {
    p = clamped(p);
    return prefixLength(noticeText()) + m_log.offsetOfLine(p.line - m_log.firstLineNumber()) + p.column;
}

ReceiveLogView::Position ReceiveLogView::positionOfOffset(qint64 offset) const {
    const qint64 prefix = prefixLength(noticeText());
    if (offset < prefix)
        return {m_log.firstLineNumber(), 0};
    const ReceiveLog::Place place = m_log.placeAt(offset - prefix);
    return {m_log.firstLineNumber() + place.line, place.column};
}

qint64 ReceiveLogView::offsetOfCursor() const {
    return offsetOf(m_cursor);
}

std::pair<qint64, qint64> ReceiveLogView::selectionOffsets() const {
    if (!hasSelection())
        return {offsetOfCursor(), offsetOfCursor()};
    return {offsetOf(std::min(m_anchor, m_cursor)), offsetOf(std::max(m_anchor, m_cursor))};
}

void ReceiveLogView::selectOffsets(qint64 anchor, qint64 cursor) {
    m_anchor = positionOfOffset(anchor);
    m_cursor = positionOfOffset(cursor);
    repaintAll();
}

QString ReceiveLogView::textBetween(qint64 from, qint64 to) const {
    const QString notice = noticeText();
    const qint64 prefix = prefixLength(notice);
    from = std::clamp<qint64>(from, 0, length());
    to = std::clamp<qint64>(to, from, length());
    QString text;
    if (from < prefix)
        text = (notice + u'\n').mid(from, std::min(to, prefix) - from);
    if (to > prefix)
        text += m_log.textBetween(std::max(from, prefix) - prefix, to - prefix);
    return text;
}

std::pair<qint64, qint64> ReceiveLogView::lineSpanAt(qint64 offset) const {
    const QString notice = noticeText();
    const qint64 prefix = prefixLength(notice);
    if (offset < prefix)
        return {0, notice.size()};
    const Position p = positionOfOffset(offset);
    const qint64 start = offsetOf({p.line, 0});
    return {start, start + m_log.line(p.line - m_log.firstLineNumber()).size()};
}

QRect ReceiveLogView::characterRect(qint64 offset) const {
    const qint64 prefix = prefixLength(noticeText());
    const qint64 line = offset < prefix ? 0 : viewLineOf(positionOfOffset(offset).line);
    const qsizetype column = offset < prefix ? qsizetype(offset) : positionOfOffset(offset).column;
    for (const Row& row : visibleRows()) {
        const QStringView text = viewLine(row.viewLine);
        const bool lastRow = row.to == text.size();
        if (row.viewLine != line || column < row.from || (column >= row.to && !lastRow))
            continue;
        const QStringView part = text.sliced(row.from, row.to - row.from);
        const qreal x = textLeft() + m_metrics.xOf(part, column - row.from);
        const qreal w = column < row.to ? m_metrics.advance(text[column].unicode(), x - textLeft())
                                        : m_metrics.averageAdvance();
        return QRectF(x, row.top, w, m_metrics.lineSpacing()).toAlignedRect();
    }
    return {};
}

qint64 ReceiveLogView::offsetAt(const QPoint& viewportPoint) const {
    return offsetOf(positionAt(viewportPoint));
}

void ReceiveLogView::showOffset(qint64 offset) {
    const qint64 prefix = prefixLength(noticeText());
    const qint64 line = offset < prefix ? 0 : viewLineOf(positionOfOffset(offset).line);
    QScrollBar* v = verticalScrollBar();
    const auto rows = visibleRows();
    const bool inView =
        std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return r.viewLine == line; });
    if (!inView)
        v->setValue(int(std::min<qint64>(line, v->maximum())));
}
