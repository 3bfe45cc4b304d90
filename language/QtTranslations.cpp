#include "language/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

struct Installed {
    std::unique_ptr<QTranslator> qt;
    std::unique_ptr<QTranslator> program;
    Language language = Language::chinese();
    bool done = false;
};

Installed& installed() {
    static Installed state;
    return state;
}

void remove(std::unique_ptr<QTranslator>& translator) {
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

// A translator loaded from file, or none when the file is absent (Qt's translations are a
// separate package; without them Qt's own texts stay English, which is no reason to fail).
std::unique_ptr<QTranslator> load(const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

} // namespace

void installTranslations(Language language) {
    Installed& state = installed();
    if (state.done && state.language == language)
        return;
    remove(state.qt);
    remove(state.program);
    state.language = language;
    state.done = true;
    if (language.isEnglish())
        return;
    const QString locale = language.localeName();
    state.qt = load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    state.program = load(QStringLiteral("tervalon_") + locale, QStringLiteral(":/i18n"));
}

Language installedTranslations() {
    return installed().language;
}
