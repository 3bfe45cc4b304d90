#pragma once

#include "config/Language.h"
#include "console/Commissioning.h"

#include <QString>
#include <functional>

class QFont;
class QPushButton;
class QWidget;

// Makes commissioning's bar on top of the parameter group (the group lays out with a
// DockLayout): its buttons worded in the language, each handed to enrol with its name (the
// window registers it and gives it the settings editor's menu), and the progress bar, hidden
// until a run. The bar takes the font given, so that the group's larger one does not make it
// wrap. The controls' pages are left for the caller.
CommissioningControls buildCommissioningBar(QWidget* group, const QFont& font, Language language,
                                            const std::function<void(QPushButton*, const QString&)>& enrol);
