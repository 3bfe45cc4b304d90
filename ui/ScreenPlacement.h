#pragma once

#include <QRect>

// Where a window of the wanted size opens on a screen whose free area (without panels and
// docks) is `available`: no larger than that area, and centred on it.
QRect PlacementOnScreen(const QSize& wanted, const QRect& available);
