#pragma once

#include <QIcon>

// The program's icon: the installed one of the icon theme (the SVG the package puts in
// hicolor, which task bars that match the desktop file show too), or the same SVG built into
// the program when it runs from a build or a portable copy.
QIcon ApplicationIcon();

// The name the desktop file and the installed icon share.
inline constexpr const char* kDesktopName = "org.tervalon.Console";
