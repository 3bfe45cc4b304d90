#pragma once

#include "support/TestApp.h"

// The appearance tests' name for the one application object of the test program.
inline QApplication& themeTestApp() {
    return testApp();
}
