#pragma once

#include "console/ReceiveRowMetrics.h"
#include "console/protocol/ReceiveLog.h"

#include <QAbstractScrollArea>
#include <QAccessibleEvent>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

// The receive box: shows a ReceiveLog and lays out and draws only the rows in view. Appends
// are cheap; the view catches up at most once a frame (kRefreshMs, or the screen's refresh
// when that is slower), scrolling to the end as it does, however many blocks arrive in
// between. Catching up moves the rows already drawn by copying their pixels and draws only
// the rows that changed, so a slow steady line costs little. Lines can be selected with the
// mouse or all at once and copied. Colours are the palette's (Base, Text, Highlight), so a
// control's own style sheet and the themes reach it as they reach any text box. Assistive
// technology reads it as a read-only text box (see ReceiveLogAccessible).
class ReceiveLogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 20;
    // New text is announced to assistive technology at most this often.
    static constexpr int kAnnounceMs = 250;

    explicit ReceiveLogView(QWidget* parent = nullptr);

    void appendLatin1(QByteArrayView bytes);
    void appendText(QStringView text);
    void appendHex(QByteArrayView bytes);
    void clear();

    // The shown text (the note on dropped text first, when there is one), lines joined by '\n'.
    QString toPlainText() const;
    qint64 length() const;
    const ReceiveLog& log() const { return m_log; }

    bool wrapping() const { return m_wrap; }
    void setWrapping(bool on);
    // The hexadecimal form is drawn in a fixed-pitch font of the view's size and weight.
    bool fixedPitch() const { return m_fixedPitch; }
    void setFixedPitch(bool on);
    // The first row's text once the oldest text has left the view; given how many
    // characters left.
    void setDroppedNotice(std::function<QString(qint64)> notice);

    bool hasSelection() const { return m_anchor != m_cursor; }
    QString selectedText() const;
    void selectAll();
    void copy() const;

    // How many of the characters received the view has drawn; all of them when caught up.
    qint64 drawnCharacters() const { return m_drawnChars; }
    qint64 receivedCharacters() const { return m_log.appendedCharacters(); }
    // How many times the view has caught up with what arrived.
    qint64 refreshCount() const { return m_refreshes; }

    // Off: every catch-up and every scroll repaints the whole area, and every change of a
    // scroll bar's range lays the scroll area out anew, as the view once did. For comparing
    // renderings and costs; on by default.
    void setIncrementalPainting(bool on);
    bool incrementalPainting() const { return m_incremental; }

    // Where announcements of new text go; assistive technology (when it is active) unless set.
    void setAnnouncer(std::function<void(QAccessibleEvent&)> announcer);

    // Offsets into toPlainText() and the places they stand for; the text box interface of
    // assistive technology works in these.
    qint64 offsetOfCursor() const;
    std::pair<qint64, qint64> selectionOffsets() const;
    void selectOffsets(qint64 anchor, qint64 cursor);
    QString textBetween(qint64 from, qint64 to) const;
    // The line holding the offset: where it starts and ends, its line break not included.
    std::pair<qint64, qint64> lineSpanAt(qint64 offset) const;
    // The rectangle of the character at the offset in the viewport, empty when not in view.
    QRect characterRect(qint64 offset) const;
    qint64 offsetAt(const QPoint& viewportPoint) const;
    // Scrolls so that the line holding the offset is in view.
    void showOffset(qint64 offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A place in the text: a line by its number in the log (see ReceiveLog::firstLineNumber)
    // and a column. Numbers stay put when the oldest lines leave.
    struct Position {
        qint64 line = 0;
        qsizetype column = 0;
        auto operator<=>(const Position&) const = default;
    };
    // One row on screen: part of a view line (the notice, if any, is view line 0).
    struct Row {
        qint64 viewLine;
        qsizetype from, to;
        qreal top;
    };

    // What the last catch-up put on screen, so the next one knows which rows are still right.
    struct Shown {
        bool valid = false;
        qint64 firstLineNumber = 0; // the log's, to notice lines leaving at the front
        qint64 lastLine = 0;        // the line being appended to, by number
        qsizetype lastRowFrom = 0;  // where its last row started (wrapping may still move it)
    };

    void dataArrived();
    void refresh();
    int frameMs() const;
    void repaintAll();
    void rememberShown();
    qint64 lineNumber(qint64 viewLine) const;
    qint64 viewLineOf(qint64 number) const { return number - m_log.firstLineNumber() + noticeRows(); }
    std::optional<int> pixelsBetween(qint64 fromViewLine, qint64 toViewLine) const;
    int firstChangedRowTop() const;
    Position positionOfOffset(qint64 offset) const;
    qint64 offsetOf(Position p) const;
    void announceNewText();
    void announce(QAccessibleEvent& event);
    void updateFont();
    // toEnd: scrolled to the last line as well, in one step.
    void updateScrollBars(bool toEnd = false);
    void setScrollBarRanges(bool toEnd);
    void relayoutAtEveryRangeChange(bool on);
    QString noticeText() const;
    int rowsInView() const;
    std::pair<qsizetype, qsizetype> selectedColumns(qint64 viewLine) const;
    Position lastPosition() const;
    qint64 noticeRows() const { return m_log.droppedCharacters() > 0 ? 1 : 0; }
    qint64 viewLineCount() const { return noticeRows() + m_log.lineCount(); }
    QStringView viewLine(qint64 viewLine) const;
    std::vector<qsizetype> rowEnds(QStringView line) const;
    qint64 linesFittingAtEnd() const;
    std::vector<Row> visibleRows() const;
    qreal textLeft() const;
    Position positionAt(const QPoint& point) const;
    Position clamped(Position p) const;
    void drawRow(QPainter& painter, const Row& row, QStringView line);

    ReceiveLog m_log;
    ReceiveRowMetrics m_metrics;
    QTimer m_refresh;
    QElapsedTimer m_sinceRefresh;
    Shown m_shown;
    qint64 m_refreshes = 0;
    bool m_incremental = true;
    bool m_fullPending = true;
    bool m_inRefresh = false;
    bool m_ownRelayout = false; // the scroll area's own relayout at each range change is off
    QTimer m_announce;
    std::function<void(QAccessibleEvent&)> m_announcer;
    QElapsedTimer m_sinceAnnounce;
    qint64 m_announcedLength = -1; // -1: nothing announced since the text last shrank
    qint64 m_announcedDrop = 0;
    qint64 m_announcedClears = 0;
    qint64 m_clears = 0;
    std::function<QString(qint64)> m_notice;
    QString m_noticeText;
    Position m_anchor, m_cursor;
    qint64 m_refreshedChars = 0;
    qint64 m_drawnChars = 0;
    qreal m_widestSeen = 0;
    bool m_wrap = false;
    bool m_fixedPitch = false;
};
