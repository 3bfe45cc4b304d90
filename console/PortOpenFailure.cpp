#include "console/PortOpenFailure.h"

#include "comm/posix/CommFile.h"
#include "comm/posix/OpenFailure.h"

#include <cstring>

namespace {

// The serial component words its failures in Chinese; they are known texts, shown in the
// console's language.
QString commFailureText(const QString& failure, Language language) {
    static const struct {
        const char* component;
        const char* text;
    } known[] = {
        {"串口已打开！", QT_TRANSLATE_NOOP("Connection", "The port is already open.")},
        {"不能创建事件!", QT_TRANSLATE_NOOP("Connection", "Cannot create the close event.")},
        {"不能够安装通讯缓存!", QT_TRANSLATE_NOOP("Connection", "Cannot set up the port's buffers.")},
        {"不能创建串口读进程!", QT_TRANSLATE_NOOP("Connection", "Cannot start the port's reader.")},
        {"不能创建串口写进程!", QT_TRANSLATE_NOOP("Connection", "Cannot start the port's writer.")},
    };
    for (const auto& k : known)
        if (failure == QString::fromUtf8(k.component))
            return language.translate("Connection", k.text);
    return failure;
}

} // namespace

// A user outside the port's group learns to join it instead of hunting for another program.
QString openFailureReason(const QString& commName, const QString& startError, Language language) {
    const QString path = QString::fromStdString(posixcomm::DevicePathForName(commName.toStdString()));
    // text: QT_TRANSLATE_NOOP("Connection", ...).
    const auto reason = [&](const char* text) {
        return QStringLiteral("\n\r") + language.translate("Connection", text);
    };
    if (startError == QStringLiteral("文件句柄不是通讯句柄!"))
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 is not a serial port.")).arg(path);
    if (startError != QStringLiteral("打开串口失败！"))
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1"))
            .arg(commFailureText(startError, language));
    const int err = posixcomm::CommFile::LastCreateError();
    switch (posixcomm::ClassifyOpenError(err)) {
    case posixcomm::OpenFailure::Missing:
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 does not exist.")).arg(path);
    case posixcomm::OpenFailure::NoPermission: {
        QString group = QString::fromStdString(posixcomm::DeviceGroupName(path.toStdString()));
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        return reason(QT_TRANSLATE_NOOP(
                          "Connection",
                          "Reason: no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) "
                          "and log in again."))
            .arg(path, group);
    }
    case posixcomm::OpenFailure::InUse:
        return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1 is in use by another program.")).arg(path);
    case posixcomm::OpenFailure::Other:
        break;
    }
    const QString text = QString::fromLocal8Bit(std::strerror(err));
    return reason(QT_TRANSLATE_NOOP("Connection", "Reason: %1")).arg(text);
}
