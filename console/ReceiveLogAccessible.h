#pragma once

#include <QAccessibleWidget>

class ReceiveLogView;

// What assistive technology sees of the receive view: a read-only, multi-line text box whose
// text, selection and caret it can read and set through Qt's text interface, as it reads any
// text box. Offsets are those of ReceiveLogView::toPlainText().
class ReceiveLogAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReceiveLogAccessible(ReceiveLogView* view);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    ReceiveLogView* view() const;
    // The span [start, end) of the given kind around the offset, worked out within its line.
    std::pair<int, int> spanAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
};

// Makes every receive view answer assistive technology through ReceiveLogAccessible.
void installReceiveLogAccessibility();
