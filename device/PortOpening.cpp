#include "device/PortOpening.h"

#include "comm/SerialComm.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/OpenFailure.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"

#include <QStringList>
#include <cstring>

namespace {

QString attr(const XmlNode& node, const char* name) {
    const QString key = QString::fromLatin1(name);
    return node.hasAttribute(key) ? node.readAttribute(key) : QString();
}

const char* const kContext = "PortOpening";

// The serial component words its failures in Chinese; they are known texts, given in the
// run's language.
QString componentFailureText(const QString& failure, Language language) {
    static const struct {
        const char* component;
        const char* text;
    } known[] = {
        {"串口已打开！", QT_TRANSLATE_NOOP("PortOpening", "the port is already open")},
        {"不能创建事件!", QT_TRANSLATE_NOOP("PortOpening", "cannot create the close event")},
        {"不能够安装通讯缓存!", QT_TRANSLATE_NOOP("PortOpening", "cannot set up the port's buffers")},
        {"不能创建串口读进程!", QT_TRANSLATE_NOOP("PortOpening", "cannot start the port's reader")},
        {"不能创建串口写进程!", QT_TRANSLATE_NOOP("PortOpening", "cannot start the port's writer")},
    };
    for (const auto& k : known)
        if (failure == QString::fromUtf8(k.component))
            return language.translate(kContext, k.text);
    return failure;
}

QString reasonFor(const TComm& comm, const QString& startError, Language language) {
    const QString path = QString::fromStdString(posixcomm::DevicePathForName(comm.CommName().toStdString()));
    if (startError == QStringLiteral("文件句柄不是通讯句柄!"))
        return language.translate("PortOpening", "%1 is not a serial port").arg(path);
    if (startError != QStringLiteral("打开串口失败！"))
        return componentFailureText(startError, language);
    const int err = posixcomm::CommFile::LastCreateError();
    switch (posixcomm::ClassifyOpenError(err)) {
    case posixcomm::OpenFailure::Missing:
        return language.translate("PortOpening", "%1 does not exist").arg(path);
    case posixcomm::OpenFailure::NoPermission: {
        QString group = QString::fromStdString(posixcomm::DeviceGroupName(path.toStdString()));
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        return language
            .translate(
                "PortOpening",
                "no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) and log in again")
            .arg(path, group);
    }
    case posixcomm::OpenFailure::InUse:
        return language.translate("PortOpening", "%1 is in use by another program").arg(path);
    case posixcomm::OpenFailure::Other:
        break;
    }
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

PortSettings PortSettingsOf(const XmlNode& comm) {
    if (comm.isNull())
        return {};
    return {attr(comm, "Port"), attr(comm, "Baud"), attr(comm, "Parity"), attr(comm, "ByteSize"),
            attr(comm, "StopBits")};
}

QString ApplyPortSettings(TComm& comm, const PortSettings& s, Language language) {
    int baud = 0;
    if (!TryStrToInt(s.baud, &baud) || baud <= 0)
        return language.translate("PortOpening", "the baud rate \"%1\" is not a positive whole number")
            .arg(s.baud);
    struct Choice {
        const QString& value;
        QStringList list;
        const char* name; // a catalogue source
    };
    const Choice choices[] = {
        {s.parity, {"N", "O", "E", "M", "S"}, QT_TRANSLATE_NOOP("PortOpening", "parity")},
        {s.dataBits, {"5", "6", "7", "8"}, QT_TRANSLATE_NOOP("PortOpening", "data bits")},
        {s.stopBits, {"1", "1.5", "2"}, QT_TRANSLATE_NOOP("PortOpening", "stop bits")}};
    int position[3] = {};
    for (int i = 0; i < 3; ++i) {
        position[i] = static_cast<int>(choices[i].list.indexOf(choices[i].value));
        if (position[i] < 0)
            return language.translate("PortOpening", "the %1 \"%2\" is not one of %3")
                .arg(language.translate(kContext, choices[i].name), choices[i].value,
                     choices[i].list.join(QLatin1Char(' ')));
    }
    if (s.port.isEmpty())
        return language.translate("PortOpening", "no port is named");
    comm.SetCommName(s.port);
    comm.SetBaudRate(static_cast<std::uint32_t>(baud));
    comm.SetParity(static_cast<TParity>(position[0]));
    comm.SetByteSize(static_cast<TByteSize>(position[1]));
    comm.SetStopBits(static_cast<TStopBits>(position[2]));
    comm.SetReadIntervalTimeout(100);
    comm.SetInx_XonXoffFlow(false);
    comm.SetOutx_XonXoffFlow(false);
    return {};
}

QString OpenPort(TComm& comm, Language language) {
    QString failure;
    try {
        failure = comm.StartComm();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = QStringLiteral("?");
    }
    return failure.isEmpty() ? QString() : reasonFor(comm, failure, language);
}
