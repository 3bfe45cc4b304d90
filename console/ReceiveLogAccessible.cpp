#include "console/ReceiveLogAccessible.h"

#include "console/ReceiveLogView.h"

#include <QTextBoundaryFinder>

#include <limits>

namespace {

QAccessibleInterface* createFor(const QString& className, QObject* object) {
    if (className == QLatin1String("ReceiveLogView"))
        if (auto* view = qobject_cast<ReceiveLogView*>(object))
            return new ReceiveLogAccessible(view);
    return nullptr;
}

// Offsets beyond an int (text over 2 GiB never is held) are clamped rather than wrapped.
int toInt(qint64 v) {
    return int(std::clamp<qint64>(v, 0, std::numeric_limits<int>::max()));
}

} // namespace

void installReceiveLogAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(createFor);
        return true;
    }();
    Q_UNUSED(installed);
}

ReceiveLogAccessible::ReceiveLogAccessible(ReceiveLogView* view)
    : QAccessibleWidget(view, QAccessible::EditableText) {}

ReceiveLogView* ReceiveLogAccessible::view() const {
    return static_cast<ReceiveLogView*>(widget());
}

QAccessible::Role ReceiveLogAccessible::role() const {
    return QAccessible::EditableText;
}

QAccessible::State ReceiveLogAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

QString ReceiveLogAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return view()->toPlainText();
    if (t == QAccessible::Name && view()->accessibleName().isEmpty())
        return ReceiveLogView::tr("Received data");
    return QAccessibleWidget::text(t);
}

void* ReceiveLogAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void ReceiveLogAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !view()->hasSelection())
        return;
    const auto [from, to] = view()->selectionOffsets();
    *startOffset = toInt(from);
    *endOffset = toInt(to);
}

int ReceiveLogAccessible::selectionCount() const {
    return view()->hasSelection() ? 1 : 0;
}

// One selection at most, as in any text box: adding one replaces it.
void ReceiveLogAccessible::addSelection(int startOffset, int endOffset) {
    view()->selectOffsets(startOffset, endOffset);
}

void ReceiveLogAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        view()->selectOffsets(view()->offsetOfCursor(), view()->offsetOfCursor());
}

void ReceiveLogAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        view()->selectOffsets(startOffset, endOffset);
}

int ReceiveLogAccessible::cursorPosition() const {
    return toInt(view()->offsetOfCursor());
}

void ReceiveLogAccessible::setCursorPosition(int position) {
    view()->selectOffsets(position, position);
    view()->showOffset(position);
}

QString ReceiveLogAccessible::text(int startOffset, int endOffset) const {
    return view()->textBetween(startOffset, endOffset);
}

int ReceiveLogAccessible::characterCount() const {
    return toInt(view()->length());
}

std::pair<int, int> ReceiveLogAccessible::spanAt(int offset, QAccessible::TextBoundaryType type) const {
    const int count = characterCount();
    if (type == QAccessible::NoBoundary)
        return {0, count};
    if (type == QAccessible::CharBoundary)
        return {offset, std::min(offset + 1, count)};
    // Lines and paragraphs are the received lines, with their line break; words and sentences
    // never cross a line, so only the line is searched, however long the text.
    offset = std::clamp(offset, 0, count);
    const auto [lineFrom, lineTo] = view()->lineSpanAt(offset);
    const int start = toInt(lineFrom);
    if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary)
        return {start, std::min(toInt(lineTo) + 1, count)};
    const QString line = view()->textBetween(lineFrom, lineTo);
    const int column = offset - start;
    if (column >= line.size())
        return {offset, std::min(offset + 1, count)};
    QTextBoundaryFinder finder(type == QAccessible::SentenceBoundary ? QTextBoundaryFinder::Sentence
                                                                     : QTextBoundaryFinder::Word,
                               line);
    finder.setPosition(column);
    const qsizetype before = finder.isAtBoundary() ? column : finder.toPreviousBoundary();
    finder.setPosition(column);
    const qsizetype after = finder.toNextBoundary();
    return {start + int(std::max<qsizetype>(before, 0)), start + int(after < 0 ? line.size() : after)};
}

QString ReceiveLogAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                           int* endOffset) const {
    const auto [from, to] = spanAt(offset, type);
    *startOffset = from;
    *endOffset = to;
    return text(from, to);
}

QString ReceiveLogAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                               int* startOffset, int* endOffset) const {
    const int at = spanAt(offset, type).first;
    if (at <= 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return textAtOffset(at - 1, type, startOffset, endOffset);
}

QString ReceiveLogAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                              int* startOffset, int* endOffset) const {
    const int after = spanAt(offset, type).second;
    if (after >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return textAtOffset(after, type, startOffset, endOffset);
}

QRect ReceiveLogAccessible::characterRect(int offset) const {
    const QRect r = view()->characterRect(offset);
    if (r.isEmpty())
        return {};
    return QRect(view()->viewport()->mapToGlobal(r.topLeft()), r.size());
}

int ReceiveLogAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(local))
        return -1;
    return toInt(view()->offsetAt(local));
}

void ReceiveLogAccessible::scrollToSubstring(int startIndex, int) {
    view()->showOffset(startIndex);
}

QString ReceiveLogAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}
