#pragma once

#include "console/RowControls.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class QObject;

// What the console's handlers keep between calls, typed and in one place; the window owns it.
struct ConsoleState {
};
