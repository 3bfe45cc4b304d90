#include "console/PageTheme.h"

#include "appearance/ThemeManager.h"

void applyConfiguredTheme(const QString& name) {
    ThemeManager::applyTheme(name);
}
