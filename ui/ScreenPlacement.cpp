#include "ui/ScreenPlacement.h"

#include <QtGlobal>

QRect PlacementOnScreen(const QSize& wanted, const QRect& available) {
    QRect placed(QPoint(0, 0), wanted.boundedTo(available.size()));
    placed.moveCenter(available.center());
    return placed;
}

namespace {

// The part of the window a user grabs to move it; the window is reachable while it is visible.
QPoint titleMiddle(const QRect& window) {
    return {window.center().x(), window.top() + qMin(10, window.height() / 2)};
}

QRect fittedInto(const QRect& window, const QRect& screen) {
    QRect placed(window.topLeft(), window.size().boundedTo(screen.size()));
    if (placed.right() > screen.right())
        placed.moveRight(screen.right());
    if (placed.bottom() > screen.bottom())
        placed.moveBottom(screen.bottom());
    if (placed.left() < screen.left())
        placed.moveLeft(screen.left());
    if (placed.top() < screen.top())
        placed.moveTop(screen.top());
    return placed;
}

} // namespace

QRect RestoredPlacement(const QRect& saved, const QList<QRect>& screens) {
    if (screens.isEmpty() || !saved.isValid())
        return {};
    for (const QRect& screen : screens)
        if (screen.contains(titleMiddle(saved)))
            return fittedInto(saved, screen);
    return PlacementOnScreen(saved.size(), screens.first());
}
