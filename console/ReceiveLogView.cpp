#include "console/ReceiveLogView.h"

#include "console/ReceiveLogAccessible.h"
#include "console/SteadyScrollBar.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qreal kMargin = 4;

QString defaultNotice(qint64 dropped) {
    return QStringLiteral("[... %1 characters no longer shown ...]").arg(dropped);
}

// Draws the part of the row that falls within [0, right) of the viewport, tab by tab.
void drawVisible(QPainter& painter, const ReceiveRowMetrics& metrics, QStringView text, qreal left,
                 qreal baseline, qreal right) {
    qreal x = 0;
    qsizetype i = 0;
    while (i < text.size() && left + x + metrics.advance(text[i].unicode(), x) < 0) {
        x += metrics.advance(text[i].unicode(), x);
        ++i;
    }
    qsizetype start = i;
    qreal startX = x;
    auto flush = [&](qsizetype end) {
        if (end > start)
            painter.drawText(QPointF(left + startX, baseline), text.sliced(start, end - start).toString());
    };
    for (; i < text.size() && left + x < right; ++i) {
        const char16_t c = text[i].unicode();
        x += metrics.advance(c, x);
        if (c == u'\t') {
            flush(i);
            start = i + 1;
            startX = x;
        }
    }
    flush(i);
}

} // namespace

ReceiveLogView::ReceiveLogView(QWidget* parent) : QAbstractScrollArea(parent) {
    m_refresh.setSingleShot(true);
    connect(&m_refresh, &QTimer::timeout, this, &ReceiveLogView::refresh);
    m_sinceRefresh.start();
    m_announce.setSingleShot(true);
    connect(&m_announce, &QTimer::timeout, this, &ReceiveLogView::announceNewText);
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical));
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal));
    relayoutAtEveryRangeChange(false);
    // Every pixel is painted here; without the background fill, rows can be moved by copying.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    installReceiveLogAccessibility();
    updateFont();
}

void ReceiveLogView::appendLatin1(QByteArrayView bytes) {
    m_log.appendLatin1(bytes);
    dataArrived();
}

void ReceiveLogView::appendText(QStringView text) {
    m_log.appendText(text);
    dataArrived();
}

void ReceiveLogView::appendHex(QByteArrayView bytes) {
    m_log.appendHex(bytes);
    dataArrived();
}

void ReceiveLogView::clear() {
    m_log.clear();
    m_anchor = m_cursor = {};
    m_widestSeen = 0;
    m_shown.valid = false;
    ++m_clears;
    refresh();
}

QString ReceiveLogView::noticeText() const {
    if (m_log.droppedCharacters() == 0)
        return {};
    return m_notice ? m_notice(m_log.droppedCharacters()) : defaultNotice(m_log.droppedCharacters());
}

void ReceiveLogView::setDroppedNotice(std::function<QString(qint64)> notice) {
    m_notice = std::move(notice);
    m_noticeText = noticeText();
    repaintAll();
}

QString ReceiveLogView::toPlainText() const {
    const QString notice = noticeText();
    return notice.isEmpty() ? m_log.text() : notice + u'\n' + m_log.text();
}

qint64 ReceiveLogView::length() const {
    const QString notice = noticeText();
    return m_log.length() + (notice.isEmpty() ? 0 : notice.size() + 1);
}

void ReceiveLogView::setWrapping(bool on) {
    if (m_wrap == on)
        return;
    m_wrap = on;
    updateScrollBars();
    repaintAll();
}

void ReceiveLogView::setFixedPitch(bool on) {
    if (m_fixedPitch == on)
        return;
    m_fixedPitch = on;
    updateFont();
}

void ReceiveLogView::updateFont() {
    QFont chosen = font();
    if (m_fixedPitch) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (chosen.pixelSize() > 0)
            fixed.setPixelSize(chosen.pixelSize());
        else
            fixed.setPointSizeF(chosen.pointSizeF());
        fixed.setWeight(chosen.weight());
        chosen = fixed;
    }
    m_metrics.setFont(chosen);
    m_widestSeen = 0;
    horizontalScrollBar()->setSingleStep(int(std::ceil(m_metrics.averageAdvance() * 2)));
    updateScrollBars();
    repaintAll();
}

QStringView ReceiveLogView::viewLine(qint64 viewLine) const {
    const qint64 notice = noticeRows();
    if (viewLine < notice)
        return m_noticeText;
    return m_log.line(viewLine - notice);
}

std::vector<qsizetype> ReceiveLogView::rowEnds(QStringView line) const {
    if (!m_wrap)
        return {line.size()};
    return m_metrics.wrap(line, viewport()->width() - 2 * kMargin);
}

int ReceiveLogView::rowsInView() const {
    return std::max(1, int((viewport()->height() - 2 * kMargin) / m_metrics.lineSpacing()));
}

// How many of the last lines fit in the view with the last one whole; at least one.
qint64 ReceiveLogView::linesFittingAtEnd() const {
    const qint64 lines = viewLineCount();
    const int rows = rowsInView();
    if (!m_wrap)
        return std::min<qint64>(lines, rows);
    qint64 fit = 0;
    qsizetype used = 0;
    for (qint64 i = lines - 1; i >= 0; --i) {
        used += qsizetype(rowEnds(viewLine(i)).size());
        if (used > rows)
            break;
        ++fit;
    }
    return std::max<qint64>(fit, 1);
}

// The scroll area lays its children out anew after every change of a bar's range, to show or
// hide the bars; laying out raises the bars, and raising repaints them and everything behind
// them up to the window. The range changes with nearly every line that arrives, so the view
// asks for that layout itself (in updateScrollBars), only when a bar's need to be shown
// changes.
void ReceiveLogView::relayoutAtEveryRangeChange(bool on) {
    const int slot = metaObject()->indexOfSlot("_q_showOrHideScrollBars()");
    if (slot < 0 || on != m_ownRelayout)
        return;
    const QMetaMethod rangeChanged = QMetaMethod::fromSignal(&QScrollBar::rangeChanged);
    bool all = true;
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        all = (on ? bool(connect(bar, rangeChanged, this, metaObject()->method(slot), Qt::QueuedConnection))
                  : disconnect(bar, rangeChanged, this, metaObject()->method(slot))) &&
              all;
    }
    m_ownRelayout = !on && all;
}

void ReceiveLogView::updateScrollBars(bool toEnd) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const auto needs = [v, h] { return std::pair(v->maximum() > v->minimum(), h->maximum() > h->minimum()); };
    const auto neededBefore = needs();
    setScrollBarRanges(toEnd);
    if (m_ownRelayout && needs() != neededBefore)
        QMetaObject::invokeMethod(this, "_q_showOrHideScrollBars", Qt::QueuedConnection);
}

void ReceiveLogView::setScrollBarRanges(bool toEnd) {
    QScrollBar* v = verticalScrollBar();
    const int last = int(std::max<qint64>(0, viewLineCount() - linesFittingAtEnd()));
    if (auto* steady = dynamic_cast<SteadyScrollBar*>(v)) {
        steady->setRangeAndValue(0, last, toEnd ? last : v->value());
    } else {
        v->setRange(0, last);
        if (toEnd)
            v->setValue(last);
    }
    v->setPageStep(rowsInView());
    v->setSingleStep(1);
    QScrollBar* h = horizontalScrollBar();
    if (m_wrap) {
        h->setRange(0, 0);
        return;
    }
    // Lines not yet drawn are estimated by their length; those drawn are measured.
    const qreal content =
        std::max(m_widestSeen, qreal(m_log.longestLine()) * m_metrics.averageAdvance()) + 2 * kMargin;
    h->setRange(0, std::max(0, int(std::ceil(content)) - viewport()->width()));
    h->setPageStep(viewport()->width());
}

std::vector<ReceiveLogView::Row> ReceiveLogView::visibleRows() const {
    std::vector<Row> rows;
    const qreal bottom = viewport()->height();
    qreal top = kMargin;
    for (qint64 i = verticalScrollBar()->value(); i < viewLineCount() && top < bottom; ++i) {
        qsizetype from = 0;
        for (const qsizetype end : rowEnds(viewLine(i))) {
            rows.push_back({i, from, end, top});
            from = end;
            top += m_metrics.lineSpacing();
            if (top >= bottom)
                break;
        }
    }
    return rows;
}

qreal ReceiveLogView::textLeft() const {
    return kMargin - (m_wrap ? 0 : horizontalScrollBar()->value());
}

void ReceiveLogView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion area = event->region();
    for (const QRect& part : area)
        painter.fillRect(part, palette().brush(QPalette::Base));
    painter.setFont(m_metrics.font());
    // Only rows within the parts to paint are drawn (a catch-up paints the top margin and the
    // rows at the bottom, not what lies between). A row's glyphs may reach a little into its
    // neighbours' rows, so the rows next to a part are drawn too (clipped to it), as a full
    // repaint would draw them.
    const qreal spacing = m_metrics.lineSpacing();
    auto touches = [&](const Row& row) {
        return std::any_of(area.begin(), area.end(), [&](const QRect& part) {
            return row.top + 2 * spacing >= part.top() && row.top - spacing <= part.bottom();
        });
    };
    qreal widest = m_widestSeen;
    for (const Row& row : visibleRows()) {
        if (m_incremental && !touches(row))
            continue;
        const QStringView line = viewLine(row.viewLine);
        drawRow(painter, row, line);
        if (!m_wrap && row.from == 0)
            widest = std::max(widest, m_metrics.width(line));
    }
    m_drawnChars = m_refreshedChars;
    if ((QRegion(viewport()->rect()) - event->region()).isEmpty())
        m_fullPending = false;
    if (widest > m_widestSeen) {
        m_widestSeen = widest;
        QMetaObject::invokeMethod(
            this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
    }
}

// The selected columns of a view line: [from, to), to past the end when its line break is
// selected too; empty when none.
std::pair<qsizetype, qsizetype> ReceiveLogView::selectedColumns(qint64 viewLine) const {
    if (!hasSelection() || viewLine < noticeRows())
        return {0, 0};
    const qint64 number = m_log.firstLineNumber() + viewLine - noticeRows();
    const Position s = std::min(m_anchor, m_cursor), e = std::max(m_anchor, m_cursor);
    if (number < s.line || number > e.line)
        return {0, 0};
    const qsizetype from = number == s.line ? s.column : 0;
    const qsizetype to = number == e.line ? e.column : std::numeric_limits<qsizetype>::max();
    return {from, to};
}

void ReceiveLogView::drawRow(QPainter& painter, const Row& row, QStringView line) {
    const QStringView text = line.sliced(row.from, row.to - row.from);
    const qreal left = textLeft();
    const qreal baseline = row.top + m_metrics.ascent();
    const qreal right = viewport()->width();
    painter.setPen(palette().color(QPalette::Text));
    const auto [from, to] = selectedColumns(row.viewLine);
    const qsizetype a = std::clamp(from - row.from, qsizetype(0), text.size());
    const qsizetype b = std::clamp(to - row.from, qsizetype(0), text.size());
    const bool lineBreakSelected = to > line.size() && row.to == line.size();
    if (b <= a && !lineBreakSelected) {
        drawVisible(painter, m_metrics, text, left, baseline, right);
        return;
    }
    const qreal xa = left + m_metrics.xOf(text, a);
    const qreal xb = left + m_metrics.xOf(text, b) + (lineBreakSelected ? m_metrics.averageAdvance() : 0);
    const QRectF selected(xa, row.top, xb - xa, m_metrics.lineSpacing());
    painter.fillRect(selected, palette().brush(QPalette::Highlight));
    drawVisible(painter, m_metrics, text, left, baseline, right);
    painter.save();
    painter.setClipRect(selected);
    painter.setPen(palette().color(QPalette::HighlightedText));
    drawVisible(painter, m_metrics, text, left, baseline, right);
    painter.restore();
}

void ReceiveLogView::resizeEvent(QResizeEvent* event) {
    const bool atEnd = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QAbstractScrollArea::resizeEvent(event);
    repaintAll();
    updateScrollBars(atEnd);
}

void ReceiveLogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateFont();
    else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        repaintAll();
}
