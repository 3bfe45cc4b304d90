#include "app/StartupMessages.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString en(const char* text) {
    return QCoreApplication::translate("StartupMessages", text);
}

// The text in the current language, or both before one is known.
QString inLanguage(const QString& code, const QString& chinese, const QString& english) {
    if (code == QLatin1String("EN"))
        return english;
    if (code == QLatin1String("CN"))
        return chinese;
    return chinese + u'\n' + english;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ValuePlaceText(const XmlReadPlace& place, const QString& languageCode) {
    if (place.element.isEmpty())
        return {};
    const QString file = place.file.isEmpty() ? QStringLiteral("config.xml") : shown(place.file);
    const QString lineEn = place.line > 0 ? en(", line %1").arg(place.line) : QString();
    const QString lineCn = place.line > 0 ? QStringLiteral("第%1行，").arg(place.line) : QString();
    if (!place.present)
        return inLanguage(
            languageCode,
            QStringLiteral("位置：%1，%2元素 %3 缺少属性 %4。请在该元素中加上 %4=\"…\" 后重新启动程序。")
                .arg(file, lineCn, place.element, place.attribute),
            en("Where: %1%2, element %3 has no attribute %4. Add %4=\"...\" to that element and start "
               "the program again.")
                .arg(file, lineEn, place.element, place.attribute));
    return inLanguage(languageCode,
                      QStringLiteral("位置：%1，%2元素 %3 的属性 %4。请改正该属性的值后重新启动程序。")
                          .arg(file, lineCn, place.element, place.attribute),
                      en("Where: %1%2, attribute %4 of element %3. Correct its value and start the program "
                         "again.")
                          .arg(file, lineEn, place.element, place.attribute));
}

QString RefusedConfigNotice(const QString& languageCode) {
    return inLanguage(languageCode, QStringLiteral("配置文件未能完整载入：本次运行中的更改不会写入该文件。"),
                      en("The configuration file was not loaded completely: changes made in this run will "
                         "not be written to it."));
}

QString StartupSaveRefusedNotice(const QString& reason, const QString& languageCode) {
    return inLanguage(languageCode, QStringLiteral("%1\n本次运行中的更改不会保存。").arg(reason),
                      en("%1\nChanges made in this run will not be saved.").arg(reason));
}

QString ConfigNotFoundText(const ConfigFileCheck& check, const QStringList& searched,
                           const QString& problem) {
    if (searched.isEmpty() || check.state != ConfigFileCheck::State::Missing)
        return check.twoLines();
    QString places;
    for (const QString& place : searched)
        places += QStringLiteral("\n    ") + shown(place);
    QString text = QStringLiteral("未发现配置文件。查找过：") + places + u'\n' +
                   en("No configuration file was found. Looked in:") + places;
    if (!problem.isEmpty())
        text += QStringLiteral(
                    "\n无法从安装的示例创建用户的配置文件 / The user's own file could not be made from the "
                    "installed example: ") +
                problem;
    return text;
}
