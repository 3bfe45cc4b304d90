#include "ui/BuiltInTexts.h"

#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"

#include <QByteArray>
#include <QObject>
#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kContext = "Controls";
constexpr const char* kCaptionProperty = "builtInCaption";
constexpr const char* kHintProperty = "builtInHint";
constexpr const char* kAccessibleNameProperty = "builtInAccessibleName";
constexpr const char* kAccessibleDescriptionProperty = "builtInAccessibleDescription";

std::optional<QString> builtIn(const QObject* component, const char* property, Language language) {
    if (!component)
        return std::nullopt;
    const QVariant source = component->property(property);
    if (!source.isValid())
        return std::nullopt;
    return language.translate(kContext, source.toByteArray().constData());
}

} // namespace

void setBuiltInTexts(QObject* component, const char* caption, const char* hint) {
    if (caption)
        component->setProperty(kCaptionProperty, QByteArray(caption));
    if (hint)
        component->setProperty(kHintProperty, QByteArray(hint));
}

std::optional<QString> builtInCaption(const QObject* component, Language language) {
    return builtIn(component, kCaptionProperty, language);
}

std::optional<QString> builtInHint(const QObject* component, Language language) {
    return builtIn(component, kHintProperty, language);
}

void setBuiltInAccessibleName(QObject* component, const char* name) {
    component->setProperty(kAccessibleNameProperty, QByteArray(name));
    showBuiltInTexts(component, Language::chinese());
}

void setBuiltInAccessibleDescription(QObject* component, const char* description) {
    component->setProperty(kAccessibleDescriptionProperty, QByteArray(description));
    showBuiltInTexts(component, Language::chinese());
}

bool showBuiltInTexts(QObject* component, Language language) {
    const std::optional<QString> caption = builtInCaption(component, language);
    const std::optional<QString> hint = builtInHint(component, language);
    const std::optional<QString> accessibleName = builtIn(component, kAccessibleNameProperty, language);
    const std::optional<QString> description = builtIn(component, kAccessibleDescriptionProperty, language);
    if (caption)
        setControlCaption(component, *caption);
    if (hint)
        setComponentHint(component, *hint);
    auto* widget = qobject_cast<QWidget*>(component);
    if (widget && accessibleName)
        widget->setAccessibleName(*accessibleName);
    if (widget && description)
        widget->setAccessibleDescription(*description);
    return caption || hint || accessibleName || description;
}

void giveBuiltInTexts(QObject* component, const char* caption, const char* hint) {
    setBuiltInTexts(component, caption, hint);
    showBuiltInTexts(component, Language::chinese());
}
