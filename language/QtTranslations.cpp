#include "language/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTabBar>
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

// A tab bar names its scroll buttons for assistive technology once, when made, and does not
// name them again when the language changes.
void renameTabScrollButtons() {
    // Qt's own texts, from Qt's translations; named through a variable so that they are not
    // taken into the program's catalogue.
    static const char* const tabBar = "QTabBar";
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* bar = qobject_cast<QTabBar*>(widget);
        if (!bar)
            continue;
        if (auto* left = bar->findChild<QAbstractButton*>(QStringLiteral("ScrollLeftButton")))
            left->setAccessibleName(QCoreApplication::translate(tabBar, "Scroll Left"));
        if (auto* right = bar->findChild<QAbstractButton*>(QStringLiteral("ScrollRightButton")))
            right->setAccessibleName(QCoreApplication::translate(tabBar, "Scroll Right"));
    }
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
    if (!language.isEnglish()) {
        const QString locale = language.localeName();
        state.qt =
            load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        state.program = load(QStringLiteral("tervalon_") + locale, QStringLiteral(":/i18n"));
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        renameTabScrollButtons();
}

Language installedTranslations() {
    return installed().language;
}
