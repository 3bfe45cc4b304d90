#include "language/ControlSettingConfig.h"

namespace controlsetting {

XmlNode requireChild(const XmlNode& parent, const QString& parentPath, const QString& name) {
    XmlNode child = parent.findChild(name);
    if (child.isNull())
        throw MissingElement{parentPath.isEmpty() ? name : parentPath + u'/' + name};
    return child;
}

LanguageSection findLanguageSection(const XmlDocument& doc) {
    LanguageSection s;
    s.root = doc.findRoot();
    if (s.root.isNull())
        throw MissingElement{QStringLiteral("TERVALON")};
    const XmlNode language = requireChild(s.root, QStringLiteral("TERVALON"), QStringLiteral("LANGUAGE"));
    s.languageCode = language.readAttribute(QStringLiteral("value"));
    s.componets = requireChild(language, QStringLiteral("TERVALON/LANGUAGE"), QStringLiteral("COMPONETS"));
    return s;
}

QString missingOnOpenMessage(Language language, const QString& path, const QString& control) {
    return language.translate("Editor", "config.xml has no element %1, so the texts of %2 cannot be edited.")
        .arg(path, control);
}

QString missingOnSaveMessage(Language language, const QString& path) {
    return language.translate("Editor", "config.xml has no element %1; nothing was saved.").arg(path);
}

QString missingEntryMessage(Language language, const QString& group, const QString& control) {
    return language
        .translate("Editor", "config.xml has no entry named %1 in TERVALON/LANGUAGE/COMPONETS/%2, so the "
                             "texts were not saved. The next start in Chinese adds the entry.")
        .arg(control, group);
}

} // namespace controlsetting
