#include "app/AppIcon.h"

#include <QString>

QIcon ApplicationIcon() {
    const QString name = QString::fromLatin1(kDesktopName);
    return QIcon::fromTheme(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
}
