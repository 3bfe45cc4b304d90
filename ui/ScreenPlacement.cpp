#include "ui/ScreenPlacement.h"

QRect PlacementOnScreen(const QSize& wanted, const QRect& available) {
    QRect placed(QPoint(0, 0), wanted.boundedTo(available.size()));
    placed.moveCenter(available.center());
    return placed;
}
