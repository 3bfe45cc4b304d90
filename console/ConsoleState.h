#pragma once

#include "console/RowControls.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class Commissioning;
class QObject;
class QTimer;

// What the console's handlers keep between calls, typed and in one place; the window owns it.
struct ConsoleState {
    // The timers that return the send and receive lamps to rest after a flash.
    QTimer* txFlashOff = nullptr;
    QTimer* rxFlashOff = nullptr;

    // The connect button's tooltip from before a wait for a returning device.
    QString hintBeforeWaiting;

    // The parameter pages' commissioning bar, once installed.
    Commissioning* commissioning = nullptr;
};
