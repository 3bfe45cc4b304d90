#pragma once

#include <QPalette>
#include <QString>
#include <QStringList>

// The application's look. A theme is a palette plus a style sheet on the Fusion style; each
// theme is one embedded resource whose leading comment carries the palette. Besides the
// themes there is the plain look "Windows": Fusion with its standard palette and no style
// sheet. Names are matched without regard to case.
//
// Themes apply to the whole QApplication, so every open window changes at once. The style
// sheets style widgets by class only and take their colours from the widget's own palette,
// so a control that was given its own colours (the receive box, coloured labels, the
// hexadecimal marker) keeps them under every theme. User-interface thread only.
namespace ThemeManager {

// The name of the plain look.
inline constexpr const char* SystemLook = "Windows";

// The registered theme names, in menu order (without "Windows").
QStringList themeNames();

// Applies a theme or "Windows" to the application. Throws AppError("Style '<name>' not
// found") for a name that is neither, leaving the current look unchanged.
void applyTheme(const QString& name);

// The registered spelling of the theme last applied; empty before the first applyTheme.
QString currentTheme();

// A theme's palette and style sheet as applied; "Windows" gives Fusion's standard palette
// and an empty sheet. Throw like applyTheme for an unknown name.
QPalette themePalette(const QString& name);
QString themeStyleSheet(const QString& name);

} // namespace ThemeManager
