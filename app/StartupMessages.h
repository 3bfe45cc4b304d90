#pragma once

#include "config/ConfigFileCheck.h"
#include "config/XmlDocument.h"

#include <QString>
#include <QStringList>

// Texts of what start-up tells the user about the configuration file. Each is in the current
// language: English for "EN", Chinese for "CN", and both while no language is known yet.

// Where the value behind an error was read (file, line, element, attribute) and how to mend
// it; empty when nothing was read.
QString ValuePlaceText(const XmlReadPlace& place, const QString& languageCode);

// Said after a start-up that refused the file or stopped on an error.
QString RefusedConfigNotice(const QString& languageCode);

// Said once when a save the start-up needed was refused; the run goes on without saving.
QString StartupSaveRefusedNotice(const QString& reason, const QString& languageCode);

// The file can be read but not written, told before its language is known: both languages,
// with the errno's reason in each.
QString ConfigUnwritableText(const QString& path, int err);

// The file is not there (or not usable): what is wrong and every place that was looked in,
// in both languages, with why the user's own file could not be made (problem, may be empty).
// searched may be empty (a path given by the caller, nothing searched).
QString ConfigNotFoundText(const ConfigFileCheck& check, const QStringList& searched, const QString& problem);
