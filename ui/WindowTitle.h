#pragma once

#include "config/Language.h"

#include <QDateTime>
#include <QString>

// appName + "   版本：" + version + "  最后编译于：" + stamp
QString ChineseTitle(const QString& appName, const QString& version, const QDateTime& stamp);
// appName + "   versions:" + version + "  Build at" + stamp
QString EnglishTitle(const QString& appName, const QString& version, const QDateTime& stamp);
// "YYYY/MM/DD HH:MM:SS" with the user's locale date and time separators.
QString FormatTitleTimeStamp(const QDateTime& stamp);
// The title in the given language for the running executable.
QString WindowTitleFor(Language language, const QString& appName);
// Names the configuration file in every later title. Set when the console works on a file other
// than config.xml beside the program (the user's own, or one chosen with --config), so the user
// can tell which file the console reads and edits; empty (the default) adds nothing.
void SetTitleConfigFile(const QString& path);
