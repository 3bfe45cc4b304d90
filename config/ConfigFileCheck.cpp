#include "config/ConfigFileCheck.h"

#include "config/Language.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kContext = "ConfigFileCheck";

// Why the file could not be read, in a language: the usual causes from the catalogue, the
// rest in the system's own words.
QString reason(int err, Language language) {
    switch (err) {
    case EACCES:
    case EPERM:
        return language.translate(kContext, QT_TRANSLATE_NOOP("ConfigFileCheck", "permission denied"));
    case EIO:
        return language.translate(kContext, QT_TRANSLATE_NOOP("ConfigFileCheck", "input/output error"));
    case ELOOP:
        return language.translate(kContext,
                                  QT_TRANSLATE_NOOP("ConfigFileCheck", "too many levels of symbolic links"));
    case ENAMETOOLONG:
        return language.translate(kContext, QT_TRANSLATE_NOOP("ConfigFileCheck", "file name too long"));
    default:
        return QString::fromLocal8Bit(std::strerror(err)).toLower();
    }
}

// The same text in both languages: the language is only known once the file has been read.
ConfigFileCheck problem(ConfigFileCheck::State state, const char* source, const QString& shown, int err = 0) {
    ConfigFileCheck check;
    check.state = state;
    const auto text = [&](Language language) {
        // One arg() call for both: a path holding "%2" must stay as it is.
        const QString t = language.translate(kContext, source);
        return err != 0 ? t.arg(shown, reason(err, language)) : t.arg(shown);
    };
    check.chinese = text(Language::chinese());
    check.english = text(Language::english());
    return check;
}

ConfigFileCheck unreadable(const QString& shown, int err) {
    return problem(ConfigFileCheck::State::Unreadable,
                   QT_TRANSLATE_NOOP("ConfigFileCheck", "The configuration file %1 cannot be read (%2)"),
                   shown, err);
}

} // namespace

ConfigFileCheck CheckConfigFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return problem(ConfigFileCheck::State::Missing,
                           QT_TRANSLATE_NOOP("ConfigFileCheck", "The configuration file %1 was not found"),
                           shown);
        return unreadable(shown, errno);
    }
    if (S_ISDIR(st.st_mode))
        return problem(
            ConfigFileCheck::State::Folder,
            QT_TRANSLATE_NOOP("ConfigFileCheck", "The configuration file %1 is a folder, not a file"), shown);
    if (!S_ISREG(st.st_mode))
        return problem(ConfigFileCheck::State::NotRegular,
                       QT_TRANSLATE_NOOP("ConfigFileCheck",
                                         "The configuration file %1 is not a regular file but a "
                                         "pipe, device or socket, and cannot be used"),
                       shown);
    // A regular file now; opening it cannot wait. Permissions alone do not say (root reads
    // what its mode forbids, an access list may allow what it does not), so it is opened.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return unreadable(shown, errno);
    ::close(fd);
    return {};
}
