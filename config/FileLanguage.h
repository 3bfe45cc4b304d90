#pragma once

#include "config/Language.h"

#include <QString>

// Sets LANGUAGE's value in a configuration file and saves it (atomically); the reason when it
// could not, empty when it did. Used on a file just made from the installed example, so that a
// first start speaks the desktop's language.
QString WriteFileLanguage(const QString& path, Language language);

// The desktop's language for messages as the environment gives it: LC_ALL, then LC_MESSAGES,
// then LANG (the first that is set and not empty); the system locale's name when none is.
QString DesktopLocaleName();
