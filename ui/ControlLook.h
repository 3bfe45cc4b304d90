#pragma once

#include <QColor>

class QWidget;

// A control's own background and text colours. They are kept on the control so that code
// can test them (a yellow edit is a hexadecimal field) and applied with the control's own
// style sheet, which wins over any theme.
void setControlColor(QWidget* control, const QColor& background);
QColor controlColor(const QWidget* control); // invalid when the control has none of its own
void setFontColor(QWidget* control, const QColor& text);
QColor fontColor(const QWidget* control); // the colour asked for, before any shading

// A control's text colour is shown as asked where it reads well on what it sits on; on a
// background where it would not (blue notes on a dark theme) a lighter or darker shade of the
// same colour is shown instead.
// `wanted` is the contrast to reach: 3 for the short, mostly bold or large texts the window
// colours itself, 4.5 for body text.
QColor legibleTextColor(const QColor& text, const QColor& background, double wanted = 3.0);
// The shade the control shows its own text colour in under the current theme.
QColor shownFontColor(const QWidget* control);
// Shows every control's own text colour again against the current theme, and every text
// colour a control's own palette carries (the red parameter labels) in a shade that reads on it.
void refreshControlLooks();
