#include "app/StartupMessages.h"

#include "config/FileReplace.h"
#include "config/Language.h"

#include <QDir>

namespace {

// The text in the current language, or in both, Chinese first, before one is known. words
// gives it in one language.
template <typename Words> QString inLanguage(const QString& code, const Words& words) {
    if (code == QLatin1String("EN") || code == QLatin1String("CN"))
        return words(Language::fromCode(code));
    return words(Language::chinese()) + u'\n' + words(Language::english());
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ValuePlaceText(const XmlReadPlace& place, const QString& languageCode) {
    if (place.element.isEmpty())
        return {};
    const QString file = place.file.isEmpty() ? QStringLiteral("config.xml") : shown(place.file);
    return inLanguage(languageCode, [&](Language language) {
        const QString line =
            place.line > 0 ? language.translate("StartupMessages", ", line %1").arg(place.line) : QString();
        const QString text =
            place.present ? language.translate("StartupMessages",
                                               "Where: %1%2, attribute %4 of element %3. Correct its "
                                               "value and start the program again.")
                          : language.translate("StartupMessages",
                                               "Where: %1%2, element %3 has no attribute %4. Add "
                                               "%4=\"...\" to that element and start the program again.");
        return text.arg(file, line, place.element, place.attribute);
    });
}

QString RefusedConfigNotice(const QString& languageCode) {
    return inLanguage(languageCode, [](Language language) {
        return language.translate("StartupMessages",
                                  "The configuration file was not loaded completely: changes made "
                                  "in this run will not be written to it.");
    });
}

QString StartupSaveRefusedNotice(const QString& reason, const QString& languageCode) {
    return inLanguage(languageCode, [&](Language language) {
        return language.translate("StartupMessages", "%1\nChanges made in this run will not be saved.")
            .arg(reason);
    });
}

QString ConfigUnwritableText(const QString& path, int err) {
    return inLanguage(QString(), [&](Language language) {
        return language
            .translate("StartupMessages",
                       "The configuration file %1 cannot be written (%2); changes made in this run will not "
                       "be saved.")
            .arg(path, FileErrorText(err, language));
    });
}

QString ConfigNotFoundText(const ConfigFileCheck& check, const QStringList& searched,
                           const QString& problem) {
    if (searched.isEmpty() || check.state != ConfigFileCheck::State::Missing)
        return check.twoLines();
    QString places;
    for (const QString& place : searched)
        places += QStringLiteral("\n    ") + shown(place);
    QString text = inLanguage(QString(), [&](Language language) {
        return language.translate("StartupMessages", "No configuration file was found. Looked in:") + places;
    });
    if (!problem.isEmpty())
        text +=
            u'\n' + inLanguage(QString(), [&](Language language) {
                return language
                    .translate("StartupMessages", "The user's own file could not be made from the installed "
                                                  "example: %1")
                    .arg(problem);
            });
    return text;
}
