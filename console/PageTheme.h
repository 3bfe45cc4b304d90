#pragma once

#include <QString>

// Applies the theme named in the configuration's SKIN section, matched without regard to
// case. Throws AppError("Style '<name>' not found") for a name that is no theme and not
// "Windows"; there is deliberately no fallback, so a misspelt SKIN is seen at once.
void applyConfiguredTheme(const QString& name);
