#pragma once

#include <QColor>

// The colours of the window's lamps, one definition for the frame that makes them and the
// handlers that light them: the port lamp black while closed and red while open, the send
// and receive lamps olive at rest and flashing blue (sent) or red (received).
namespace lamp {

inline const QColor portClosed{0, 0, 0};
inline const QColor portOpen{255, 0, 0};
inline const QColor atRest{128, 128, 0};
inline const QColor sent{0, 0, 255};
inline const QColor received{255, 0, 0};

} // namespace lamp
