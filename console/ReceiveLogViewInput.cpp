// Selecting, copying and scrolling in the receive view with mouse and keyboard.
#include "console/ReceiveLogView.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

ReceiveLogView::Position ReceiveLogView::lastPosition() const {
    const qint64 last = m_log.lineCount() - 1;
    return {m_log.firstLineNumber() + last, m_log.line(last).size()};
}

// Lines that left the view since the place was taken move it to the first one still held.
ReceiveLogView::Position ReceiveLogView::clamped(Position p) const {
    if (p.line < m_log.firstLineNumber())
        return {m_log.firstLineNumber(), 0};
    const Position last = lastPosition();
    if (p.line > last.line)
        return last;
    p.column = std::clamp<qsizetype>(p.column, 0, m_log.line(p.line - m_log.firstLineNumber()).size());
    return p;
}

ReceiveLogView::Position ReceiveLogView::positionAt(const QPoint& point) const {
    const std::vector<Row> rows = visibleRows();
    if (rows.empty())
        return lastPosition();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [&](const Row& r) { return point.y() < r.top + m_metrics.lineSpacing(); });
    if (it == rows.end())
        return rows.back().viewLine == viewLineCount() - 1
                   ? lastPosition()
                   : Position{m_log.firstLineNumber() + rows.back().viewLine - noticeRows() + 1, 0};
    if (it->viewLine < noticeRows())
        return {m_log.firstLineNumber(), 0};
    const QStringView line = viewLine(it->viewLine);
    const QStringView row = line.sliced(it->from, it->to - it->from);
    const qsizetype column = it->from + m_metrics.columnAt(row, point.x() - textLeft());
    return clamped({m_log.firstLineNumber() + it->viewLine - noticeRows(), column});
}

QString ReceiveLogView::selectedText() const {
    if (!hasSelection())
        return {};
    const Position s = clamped(std::min(m_anchor, m_cursor));
    const Position e = clamped(std::max(m_anchor, m_cursor));
    QString text;
    for (qint64 n = s.line; n <= e.line; ++n) {
        const QStringView line = m_log.line(n - m_log.firstLineNumber());
        const qsizetype from = n == s.line ? s.column : 0;
        const qsizetype to = n == e.line ? e.column : line.size();
        text += line.sliced(from, std::max<qsizetype>(0, to - from));
        if (n < e.line)
            text += u'\n';
    }
    return text;
}

void ReceiveLogView::selectAll() {
    m_anchor = {m_log.firstLineNumber(), 0};
    m_cursor = lastPosition();
    repaintAll();
}

void ReceiveLogView::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void ReceiveLogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_cursor = positionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_cursor;
    repaintAll();
}

void ReceiveLogView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_cursor = positionAt(event->position().toPoint());
    repaintAll();
}

// A double click selects the run of characters between blanks: a word, or a byte pair.
void ReceiveLogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const Position at = positionAt(event->position().toPoint());
    const QStringView line = m_log.line(at.line - m_log.firstLineNumber());
    qsizetype from = at.column, to = at.column;
    while (from > 0 && !isBlank(line[from - 1]))
        --from;
    while (to < line.size() && !isBlank(line[to]))
        ++to;
    m_anchor = {at.line, from};
    m_cursor = {at.line, to};
    repaintAll();
}

void ReceiveLogView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->matches(QKeySequence::MoveToStartOfDocument))
        v->setValue(0);
    else if (event->matches(QKeySequence::MoveToEndOfDocument))
        v->setValue(v->maximum());
    else if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown ||
             event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_Left ||
             event->key() == Qt::Key_Right)
        QAbstractScrollArea::keyPressEvent(event);
    else
        event->ignore();
}

// The view's own menu, so a right-click never reaches the window's control editor.
void ReceiveLogView::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copyAction = menu->addAction(tr("&Copy"), this, &ReceiveLogView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction* all = menu->addAction(tr("Select All"), this, &ReceiveLogView::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(m_log.length() > 0);
    menu->popup(event->globalPos());
    event->accept();
}
