#pragma once

#include <QApplication>

// The one QApplication of the test executable, made on first use so that any test file may
// ask for it (tests run offscreen).
inline QApplication& themeTestApp() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tests_appearance";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}
