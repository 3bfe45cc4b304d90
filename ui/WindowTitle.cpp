#include "ui/WindowTitle.h"

#include "ui/VersionInfo.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

QString& titleConfigFile() {
    static QString path;
    return path;
}

// The first separator character of a locale format ("yyyy/MM/dd" gives '/').
QString separatorIn(const QString& format, const QString& fallback) {
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace())
            return QString(c);
    return fallback;
}

} // namespace

QString FormatTitleTimeStamp(const QDateTime& stamp) {
    const QLocale locale = QLocale::system();
    const QString ds = separatorIn(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
    const QString ts = separatorIn(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
    const QDate d = stamp.date();
    const QTime t = stamp.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + ds + two(d.month()) + ds +
           two(d.day()) + QLatin1Char(' ') + two(t.hour()) + ts + two(t.minute()) + ts + two(t.second());
}

QString ChineseTitle(const QString& appName, const QString& version, const QDateTime& stamp) {
    return appName + QStringLiteral("   版本：") + version + QStringLiteral("  最后编译于：") +
           FormatTitleTimeStamp(stamp);
}

QString EnglishTitle(const QString& appName, const QString& version, const QDateTime& stamp) {
    return appName + QStringLiteral("   versions:") + version + QStringLiteral("  Build at") +
           FormatTitleTimeStamp(stamp);
}

void SetTitleConfigFile(const QString& path) {
    titleConfigFile() = path;
}

QString WindowTitleFor(Language language, const QString& appName) {
    const QString exe = QCoreApplication::applicationFilePath();
    const QDateTime stamp = GetFileTimeStamp(exe, 1);
    const QString note = titleConfigFile().isEmpty()
                             ? QString()
                             : QStringLiteral("  [") + titleConfigFile() + QLatin1Char(']');
    if (language.isEnglish())
        return EnglishTitle(appName, GetExeVersionText(), stamp) + note;
    return ChineseTitle(appName, GetFileVersionText(exe), stamp) + note;
}
