#pragma once

class QSettings;
class QWidget;

// The main window's size and place, remembered per user and machine in the user's settings
// (QSettings: ~/.config/tervalon/tervalon.conf), never in config.xml, which travels between
// machines with other screens.

// Records the window's normal (not maximised) geometry and whether it is maximised.
void SaveWindowGeometry(const QWidget& window, QSettings& settings);

// Puts the window where it was, onto a screen that exists now; shows it, maximised if it was.
// False, leaving the window alone and hidden, when nothing usable was saved.
bool RestoreWindowGeometry(QWidget& window, const QSettings& settings);

// Saves the geometry into settings whenever the window is about to close (while it still
// shows where it is), whatever closes it: the close box, a termination signal, a quit.
void RememberGeometryOnClose(QWidget& window, QSettings& settings);
