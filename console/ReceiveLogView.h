#pragma once

#include "console/ReceiveRowMetrics.h"
#include "console/protocol/ReceiveLog.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <vector>

// The receive box: shows a ReceiveLog and lays out and draws only the rows in view. Appends
// are cheap; the view catches up at most every kRefreshMs, scrolling to the end as it does,
// however many blocks arrive in between. Lines can be selected with the mouse or all at once
// and copied. Colours are the palette's (Base, Text, Highlight), so a control's own style
// sheet and the themes reach it as they reach any text box.
class ReceiveLogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 20;

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
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

    void dataArrived();
    void refresh();
    void updateFont();
    void updateScrollBars();
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
    std::function<QString(qint64)> m_notice;
    QString m_noticeText;
    Position m_anchor, m_cursor;
    qint64 m_refreshedChars = 0;
    qint64 m_drawnChars = 0;
    qreal m_widestSeen = 0;
    bool m_wrap = false;
    bool m_fixedPitch = false;
};
