#include "console/protocol/LayoutRules.h"

#include <QtGlobal>

namespace layout {

ColumnWidths columns(int windowWidth, int webWidth) {
    // The banner keeps the proportions of a 1320 x 95 picture: 95/1320 = 19/264.
    return {qMax(windowWidth / 3, minLeftColumn), qMax(windowWidth / 5, minRightColumn),
            windowWidth * 19 / 264, windowWidth - webWidth - 8};
}

int parameterGroupHeight(int middleHeight) {
    return (middleHeight / 3) * 2;
}

ParameterRow parameterRow(int w, int c) {
    const int third = w / 3;
    const int sixth = w / 6;
    return {c - 24, third, {third, third - 8}, {third * 2, sixth - 16}, {third * 2 + sixth - 8, sixth - 16}};
}

FixedRow fixedRow(int c) {
    return {c / 2, {c / 2 - 12, c / 2 - 16}};
}

BatchRow batchRow(int boxLeft, int boxWidth, int buttonWidth, int rowRight, int boxLeast, int buttonLeast) {
    const int gap = 8;
    const int room = rowRight - boxLeft;
    int box = boxWidth;
    int button = buttonWidth;
    if (box + gap + button > room)
        box = qMax(boxLeast, room - gap - button);
    if (box + gap + button > room)
        button = qMax(buttonLeast, room - gap - box);
    return {{boxLeft, box}, {boxLeft + box + gap, button}};
}

} // namespace layout
