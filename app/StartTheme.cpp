#include "app/StartTheme.h"

#include "ui/MessageBoxes.h"
#include "appearance/ThemeManager.h"
#include "config/AppError.h"

void applyStartTheme() {
    try {
        ThemeManager::applyTheme(QStringLiteral("Amakrits"));
    } catch (const AppError& e) {
        showErrorMessage(e.text());
    }
}
