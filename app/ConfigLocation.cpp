#include "app/ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString configName = QStringLiteral("config.xml");

// Copies through a temporary name so that an interrupted first start never leaves half a file
// where the console would take it for the user's configuration.
QString copyWhole(const QString& from, const QString& to) {
    const QString temp = to + QStringLiteral(".new");
    QFile::remove(temp);
    if (!QFile::copy(from, temp))
        return QStringLiteral("cannot copy %1 to %2").arg(from, temp);
    // The installed example is read-only; the user's copy is theirs to change.
    QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                    QFileDevice::ReadOther);
    if (!QFile::rename(temp, to)) {
        QFile::remove(temp);
        return QStringLiteral("cannot create %1").arg(to);
    }
    return {};
}

QString makeUserFile(const QString& userDir, const QString& exampleDir) {
    const QString example = QDir(exampleDir).filePath(configName);
    if (!QFileInfo(example).isFile())
        return QStringLiteral("no example configuration at %1").arg(example);
    if (!QDir().mkpath(userDir))
        return QStringLiteral("cannot create the folder %1").arg(userDir);
    const QString banner = QDir(exampleDir).filePath(QStringLiteral("banner.jpg"));
    const QString userBanner = QDir(userDir).filePath(QStringLiteral("banner.jpg"));
    // The banner is a nicety: a failure to copy it costs the picture, not the start.
    if (QFileInfo(banner).isFile() && !QFileInfo::exists(userBanner))
        copyWhole(banner, userBanner);
    return copyWhole(example, QDir(userDir).filePath(configName));
}

} // namespace

ConfigLocation FindConfigFile(const ConfigSearch& search) {
    ConfigLocation location;
    if (!search.explicitPath.isEmpty()) {
        location.path = QFileInfo(search.explicitPath).absoluteFilePath();
        return location;
    }
    const QString beside = QDir(search.executableDir).filePath(configName);
    location.searched << QFileInfo(beside).absoluteFilePath();
    // Anything under that name beside the program (a folder, a FIFO, a link that leads
    // nowhere) is the portable copy's file gone wrong: it is named, not passed over for the
    // user's file.
    const QFileInfo besideInfo(beside);
    if (besideInfo.exists() || besideInfo.isSymLink()) {
        location.path = QFileInfo(beside).absoluteFilePath();
        location.besideExecutable = true;
        return location;
    }
    const QString userDir = QDir(search.userConfigDir).filePath(QStringLiteral("tervalon"));
    location.path = QDir(userDir).filePath(configName);
    location.searched << location.path;
    if (!QFileInfo::exists(location.path)) {
        location.searched << QDir::cleanPath(QDir(search.exampleDir).absoluteFilePath(configName));
        location.error = makeUserFile(userDir, search.exampleDir);
    }
    return location;
}

ConfigSearch DefaultConfigSearch(const QString& explicitPath) {
    ConfigSearch search;
    search.explicitPath = explicitPath;
    search.executableDir = QCoreApplication::applicationDirPath();
    search.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    search.exampleDir = QDir(search.executableDir).filePath(QStringLiteral("../share/tervalon"));
    return search;
}
