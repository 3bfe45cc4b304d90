// How the receive view catches up with what arrived: once a frame at most, moving the rows
// already drawn by copying their pixels and drawing only the rows that changed.
#include "console/ReceiveLogView.h"

#include <QAccessible>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

namespace {

// Rows scroll up under the top margin; what a row's glyphs leave there is drawn again.
constexpr int kTopMargin = 4;
// An announcement carries at most this much of the new text; assistive technology reads a
// line or two of it anyway, and a flood must not be copied across the bus whole.
constexpr qint64 kMaxAnnouncedChars = 64 * 1024;

} // namespace

void ReceiveLogView::setIncrementalPainting(bool on) {
    m_incremental = on;
    relayoutAtEveryRangeChange(!on);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, on);
    repaintAll();
}

int ReceiveLogView::frameMs() const {
    const QScreen* s = screen();
    const qreal hz = s ? s->refreshRate() : 0;
    return hz > 1 ? std::max(kRefreshMs, int(std::ceil(1000.0 / hz))) : kRefreshMs;
}

// After a quiet spell the view catches up at once; while data keep coming, at most once a
// frame, so any number of small blocks within a frame make one update.
void ReceiveLogView::dataArrived() {
    if (!m_refresh.isActive())
        m_refresh.start(int(std::max<qint64>(0, frameMs() - m_sinceRefresh.elapsed())));
}

void ReceiveLogView::repaintAll() {
    m_fullPending = true;
    viewport()->update();
}

qint64 ReceiveLogView::lineNumber(qint64 viewLine) const {
    return viewLine - noticeRows() + m_log.firstLineNumber();
}

void ReceiveLogView::rememberShown() {
    const qint64 last = viewLineCount() - 1;
    m_shown.valid = true;
    m_shown.firstLineNumber = m_log.firstLineNumber();
    m_shown.lastLine = lineNumber(last);
    m_shown.lastRowFrom = 0;
    if (m_wrap) {
        const std::vector<qsizetype> ends = rowEnds(viewLine(last));
        if (ends.size() > 1)
            m_shown.lastRowFrom = ends[ends.size() - 2];
    }
}

// How far the rows move when the top line changes from one view line to another; none when
// that is unknown (a line drawn before has wrapped anew since) or a screenful or more.
std::optional<int> ReceiveLogView::pixelsBetween(qint64 from, qint64 to) const {
    const qint64 spacing = qint64(m_metrics.lineSpacing());
    const qint64 height = viewport()->height();
    const qint64 lo = std::min(from, to), hi = std::max(from, to);
    qint64 rows = 0;
    if (!m_wrap) {
        rows = hi - lo;
    } else {
        for (qint64 i = lo; i < hi && rows * spacing < height; ++i) {
            if (lineNumber(i) >= m_shown.lastLine)
                return std::nullopt;
            rows += qint64(rowEnds(viewLine(i)).size());
        }
    }
    if (rows * spacing >= height)
        return std::nullopt;
    return int(from <= to ? rows * spacing : -rows * spacing);
}

// The top of the first row on screen whose text differs from what was last drawn: the rows
// of lines that arrived since, and the last row of the line then being appended to (wrapping
// can move its start, never the start of a row before it). The height when none is in view.
int ReceiveLogView::firstChangedRowTop() const {
    bool first = true;
    for (const Row& row : visibleRows()) {
        const qint64 number = lineNumber(row.viewLine);
        if (number > m_shown.lastLine || (number == m_shown.lastLine && row.from >= m_shown.lastRowFrom))
            return first ? 0 : int(row.top);
        first = false;
    }
    return viewport()->height();
}

void ReceiveLogView::refresh() {
    m_refresh.stop();
    m_sinceRefresh.restart();
    ++m_refreshes;
    const QString notice = noticeText();
    const bool rowsMayMove = m_incremental && !m_fullPending && m_shown.valid && notice == m_noticeText &&
                             m_shown.firstLineNumber == m_log.firstLineNumber();
    m_noticeText = notice;
    m_refreshedChars = m_log.appendedCharacters();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const int top = v->value();
    const int left = h->value();
    m_inRefresh = true;
    updateScrollBars(true);
    m_inRefresh = false;

    const std::optional<int> moved =
        rowsMayMove && h->value() == left ? pixelsBetween(top, v->value()) : std::nullopt;
    if (!moved) {
        repaintAll();
    } else {
        QWidget* port = viewport();
        if (*moved != 0) {
            port->scroll(0, -*moved);
            port->update(0, 0, port->width(), kTopMargin);
        }
        const int y = firstChangedRowTop();
        if (y < port->height())
            port->update(0, y, port->width(), port->height() - y);
        else if (*moved == 0)
            m_drawnChars = m_refreshedChars; // what changed lies beyond the view's edge
    }
    rememberShown();
    if ((m_announcer || QAccessible::isActive()) && !m_announce.isActive())
        m_announce.start(m_sinceAnnounce.isValid()
                             ? int(std::max<qint64>(0, kAnnounceMs - m_sinceAnnounce.elapsed()))
                             : 0);
}

// A scroll by the user moves the rows by copying too, when the distance is known.
void ReceiveLogView::scrollContentsBy(int dx, int dy) {
    if (m_inRefresh)
        return; // the catch-up works out its own moves
    if (!m_incremental || m_fullPending || !m_shown.valid || std::abs(dx) >= viewport()->width()) {
        repaintAll();
        return;
    }
    const qint64 top = verticalScrollBar()->value();
    const std::optional<int> moved = dy == 0 ? 0 : pixelsBetween(top + dy, top);
    if (!moved) {
        repaintAll();
        return;
    }
    viewport()->scroll(dx, -*moved);
    if (*moved != 0)
        viewport()->update(0, 0, viewport()->width(), kTopMargin);
}

// Assistive technology hears what arrived since it last heard, at most every kAnnounceMs.
void ReceiveLogView::setAnnouncer(std::function<void(QAccessibleEvent&)> announcer) {
    m_announcer = std::move(announcer);
}

void ReceiveLogView::announce(QAccessibleEvent& event) {
    if (m_announcer)
        m_announcer(event);
    else
        QAccessible::updateAccessibility(&event);
}

void ReceiveLogView::announceNewText() {
    if (!m_announcer && !QAccessible::isActive())
        return;
    m_sinceAnnounce.restart();
    const qint64 now = length();
    const bool grewOnly = m_announcedLength >= 0 && now >= m_announcedLength &&
                          m_announcedClears == m_clears && m_announcedDrop == m_log.droppedCharacters();
    const qint64 from = std::max(grewOnly ? m_announcedLength : 0, now - kMaxAnnouncedChars);
    if (grewOnly && now > m_announcedLength) {
        QAccessibleTextInsertEvent inserted(this, int(from), textBetween(from, now));
        announce(inserted);
    } else if (!grewOnly) {
        // Cleared, or the oldest text left: what was there is no longer held to be named.
        QAccessibleTextUpdateEvent replaced(this, 0, QString(), textBetween(from, now));
        announce(replaced);
    }
    m_announcedLength = now;
    m_announcedClears = m_clears;
    m_announcedDrop = m_log.droppedCharacters();
}
