#pragma once

#include "config/Language.h"

// Makes the application's translators follow the console's language: Qt's own texts (file
// dialogs, the buttons of message boxes, context menus) from Qt's translations, and the
// program's built-in texts for whatever words itself through tr(). English removes them, as
// both are written in English. Safe to call again with the same language.
void installTranslations(Language language);

// The language whose translators are installed now (Chinese before the first call, the
// window's template language).
Language installedTranslations();
