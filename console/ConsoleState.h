#pragma once

#include "console/RowControls.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class Commissioning;
class QObject;

// What the console's handlers keep between calls, typed and in one place; the window owns it.
struct ConsoleState {
    // Nested sends (a click inside another send's wait) keep the send button off until the
    // outermost one has queued its bytes.
    int sendDepth = 0;

    // A batch step waiting for the operator shows the receive box in its warning look; nested
    // waits count, and the outermost puts back the look the first one found.
    int warningDepth = 0;
    QColor normalBackground;
    QColor normalText;

    // The line code last put in the send box, and the box's text right after: sent exactly as
    // staged while the box still shows it (the box does not keep every line break as given).
    std::optional<QString> stagedLine;
    QString stagedShown;

    // The parameter pages' commissioning bar, once installed.
    Commissioning* commissioning = nullptr;

    // What the page builder made for fixed commands (by button): the typed records the
    // handlers work from.
    QHash<const QObject*, FixedCommandControls> fixedCommands;
};
