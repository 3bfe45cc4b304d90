#include "config/FileLanguage.h"

#include "config/AppError.h"
#include "config/XmlDocument.h"

#include <QLocale>
#include <exception>

QString WriteFileLanguage(const QString& path, Language language) {
    try {
        XmlDocument document = XmlDocument::openForWriting(path);
        XmlNode languageNode = document.findRoot().findChild(QStringLiteral("LANGUAGE"));
        if (languageNode.isNull())
            return QStringLiteral("%1 has no element TERVALON/LANGUAGE").arg(path);
        if (languageNode.readAttribute(QStringLiteral("value")) == language.code())
            return {};
        languageNode.writeAttribute(QStringLiteral("value"), language.code());
        document.save(path);
        return {};
    } catch (const AppError& e) {
        return e.text();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

QString DesktopLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QLocale::system().name();
}
