#pragma once

#include <QLocale>
#include <QString>

// The user's regional separators, which the console writes into time stamps and
// scaled register values. Kept as plain texts so the formatting functions can be tested
// with any region.
struct RegionalFormats {
    QString dateSeparator = QStringLiteral("/");
    QString timeSeparator = QStringLiteral(":");
    QString decimalSeparator = QStringLiteral(".");

    // Separators are taken from the locale's short date and time formats (the first
    // character between two fields); a format without one keeps "/" or ":".
    static RegionalFormats fromLocale(const QLocale& locale);
    static RegionalFormats system() { return fromLocale(QLocale::system()); }
};
