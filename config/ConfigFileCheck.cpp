#include "config/ConfigFileCheck.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString chineseReason(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return QStringLiteral("没有读取权限");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    case ELOOP:
        return QStringLiteral("符号链接循环");
    case ENAMETOOLONG:
        return QStringLiteral("路径过长");
    default:
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

ConfigFileCheck problem(ConfigFileCheck::State state, QString chinese, QString english) {
    ConfigFileCheck check;
    check.state = state;
    check.chinese = std::move(chinese);
    check.english = std::move(english);
    return check;
}

ConfigFileCheck unreadable(const QString& shown, int err) {
    return problem(ConfigFileCheck::State::Unreadable,
                   QStringLiteral("无法读取配置文件%1（%2）").arg(shown, chineseReason(err)),
                   QStringLiteral("The configuration file %1 cannot be read (%2)")
                       .arg(shown, QString::fromLocal8Bit(std::strerror(err)).toLower()));
}

} // namespace

ConfigFileCheck CheckConfigFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return problem(ConfigFileCheck::State::Missing, QStringLiteral("未发现配置文件") + shown,
                           QStringLiteral("The configuration file %1 was not found").arg(shown));
        return unreadable(shown, errno);
    }
    if (S_ISDIR(st.st_mode))
        return problem(ConfigFileCheck::State::Folder,
                       QStringLiteral("配置文件%1是文件夹，不是文件").arg(shown),
                       QStringLiteral("The configuration file %1 is a folder, not a file").arg(shown));
    if (!S_ISREG(st.st_mode))
        return problem(
            ConfigFileCheck::State::NotRegular,
            QStringLiteral("配置文件%1不是普通文件（而是管道、设备或套接字），无法使用").arg(shown),
            QStringLiteral("The configuration file %1 is not a regular file but a pipe, device "
                           "or socket, and cannot be used")
                .arg(shown));
    // A regular file now; opening it cannot wait. Permissions alone do not say (root reads
    // what its mode forbids, an access list may allow what it does not), so it is opened.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return unreadable(shown, errno);
    ::close(fd);
    return {};
}
