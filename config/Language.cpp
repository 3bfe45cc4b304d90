#include "config/Language.h"

#include <QCoreApplication>
#include <QTranslator>
#include <memory>

namespace {

// The compiled catalogue of one language, loaded once from the program's resources. English
// has one too: its plural forms ("1 parameter", "2 parameters").
const QTranslator* catalogueOf(Language language) {
    static const auto load = [](const char* file) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QString::fromLatin1(file)))
            return std::unique_ptr<QTranslator>();
        return translator;
    };
    // Loaded on first use, from any thread; the statics are initialised once.
    static const std::unique_ptr<QTranslator> chinese = load(":/i18n/tervalon_zh_CN.qm");
    static const std::unique_ptr<QTranslator> english = load(":/i18n/tervalon_en.qm");
    return language.isEnglish() ? english.get() : chinese.get();
}

QString withCount(QString text, int n) {
    if (n >= 0)
        text.replace(QLatin1String("%n"), QString::number(n));
    return text;
}

} // namespace

Language Language::fromCode(const QString& code) {
    return code == QLatin1String("EN") ? english() : chinese();
}

Language Language::fromLocaleName(const QString& name) {
    return name.startsWith(QLatin1String("zh"), Qt::CaseInsensitive) ? chinese() : english();
}

QString Language::code() const {
    return isEnglish() ? QStringLiteral("EN") : QStringLiteral("CN");
}

QString Language::localeName() const {
    return isEnglish() ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

QString Language::translate(const char* context, const char* source, const char* disambiguation,
                            int n) const {
    if (const QTranslator* catalogue = catalogueOf(*this)) {
        const QString text = catalogue->translate(context, source, disambiguation, n);
        if (!text.isEmpty())
            return withCount(text, n);
    }
    return withCount(QString::fromUtf8(source), n);
}
