#include "language/ControlSettingConfig.h"

namespace controlsetting {

namespace {
bool english(const QString& languageCode) {
    return languageCode == QLatin1String("EN");
}
} // namespace

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

QString missingOnOpenMessage(const QString& languageCode, const QString& path, const QString& control) {
    if (english(languageCode))
        return QStringLiteral("config.xml has no element %1, so the texts of %2 cannot be edited.")
            .arg(path, control);
    return QStringLiteral("config.xml 中缺少元素 %1，无法编辑 %2 的显示内容。").arg(path, control);
}

QString missingOnSaveMessage(const QString& languageCode, const QString& path) {
    if (english(languageCode))
        return QStringLiteral("config.xml has no element %1; nothing was saved.").arg(path);
    return QStringLiteral("config.xml 中缺少元素 %1，未保存任何修改。").arg(path);
}

QString missingEntryMessage(const QString& languageCode, const QString& group, const QString& control) {
    if (english(languageCode))
        return QStringLiteral(
                   "config.xml has no entry named %1 in TERVALON/LANGUAGE/COMPONETS/%2, so the texts "
                   "were not saved. The next start in Chinese adds the entry.")
            .arg(control, group);
    return QStringLiteral(
               "config.xml 的 TERVALON/LANGUAGE/COMPONETS/%2 中没有名为 %1 的条目，显示内容未保存。"
               "下次以中文启动时会添加该条目。")
        .arg(control, group);
}

} // namespace controlsetting
