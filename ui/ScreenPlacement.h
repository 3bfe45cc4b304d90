#pragma once

#include <QList>
#include <QRect>

// Where a window of the wanted size opens on a screen whose free area (without panels and
// docks) is `available`: no larger than that area, and centred on it.
QRect PlacementOnScreen(const QSize& wanted, const QRect& available);

// Where a window saved at `saved` opens again, given the free areas of the screens there are
// now (the first is the primary one). It keeps its place when its title bar's middle lies on
// one of them, shrunk and moved to fit that screen; a window left on a screen that has gone
// (a projector, a docking station's monitor) opens centred on the primary screen instead.
// An empty result: there is no screen at all, or nothing valid was saved.
QRect RestoredPlacement(const QRect& saved, const QList<QRect>& screens);
