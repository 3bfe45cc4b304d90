#pragma once

#include <QColor>

class QWidget;

// A control's own background and text colours. They are kept on the control so that code
// can test them (a yellow edit is a hexadecimal field) and applied with the control's own
// style sheet, which wins over any theme.
void setControlColor(QWidget* control, const QColor& background);
QColor controlColor(const QWidget* control); // invalid when the control has none of its own
void setFontColor(QWidget* control, const QColor& text);
QColor fontColor(const QWidget* control);

// Delphi-style 0x00BBGGRR colour values, as configuration and tests speak of them.
QColor colorFromBgr(unsigned value);
unsigned bgrFromColor(const QColor& color);
