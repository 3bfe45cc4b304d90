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

QString reasonFor(const TComm& comm, const QString& startError, bool en) {
    const QString path = QString::fromStdString(posixcomm::DevicePathForName(comm.CommName().toStdString()));
    if (startError == QStringLiteral("文件句柄不是通讯句柄!"))
        return en ? QStringLiteral("%1 is not a serial port").arg(path)
                  : QStringLiteral("%1 不是串口").arg(path);
    if (startError != QStringLiteral("打开串口失败！"))
        return startError;
    const int err = posixcomm::CommFile::LastCreateError();
    switch (posixcomm::ClassifyOpenError(err)) {
    case posixcomm::OpenFailure::Missing:
        return en ? QStringLiteral("%1 does not exist").arg(path) : QStringLiteral("%1 不存在").arg(path);
    case posixcomm::OpenFailure::NoPermission: {
        QString group = QString::fromStdString(posixcomm::DeviceGroupName(path.toStdString()));
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        return en ? QStringLiteral("no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) "
                                   "and log in again")
                        .arg(path, group)
                  : QStringLiteral("没有打开 %1 的权限；请加入 %2 组（sudo usermod -aG %2 $USER）后重新登录")
                        .arg(path, group);
    }
    case posixcomm::OpenFailure::InUse:
        return en ? QStringLiteral("%1 is in use by another program").arg(path)
                  : QStringLiteral("%1 正被其它程序占用").arg(path);
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

QString ApplyPortSettings(TComm& comm, const PortSettings& s, bool en) {
    int baud = 0;
    if (!TryStrToInt(s.baud, &baud) || baud <= 0)
        return en ? QStringLiteral("the baud rate \"%1\" is not a positive whole number").arg(s.baud)
                  : QStringLiteral("波特率“%1”不是正整数").arg(s.baud);
    struct Choice {
        const QString& value;
        QStringList list;
        const char* en;
        const char* cn;
    };
    const Choice choices[] = {{s.parity, {"N", "O", "E", "M", "S"}, "parity", "校验位"},
                              {s.dataBits, {"5", "6", "7", "8"}, "data bits", "数据位"},
                              {s.stopBits, {"1", "1.5", "2"}, "stop bits", "停止位"}};
    int position[3] = {};
    for (int i = 0; i < 3; ++i) {
        position[i] = static_cast<int>(choices[i].list.indexOf(choices[i].value));
        if (position[i] < 0)
            return en ? QStringLiteral("the %1 \"%2\" is not one of %3")
                            .arg(QString::fromUtf8(choices[i].en), choices[i].value,
                                 choices[i].list.join(QLatin1Char(' ')))
                      : QStringLiteral("%1“%2”不在可选项 %3 中")
                            .arg(QString::fromUtf8(choices[i].cn), choices[i].value,
                                 choices[i].list.join(QLatin1Char(' ')));
    }
    if (s.port.isEmpty())
        return en ? QStringLiteral("no port is named") : QStringLiteral("未指定端口");
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

QString OpenPort(TComm& comm, bool en) {
    QString failure;
    try {
        failure = comm.StartComm();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = QStringLiteral("?");
    }
    return failure.isEmpty() ? QString() : reasonFor(comm, failure, en);
}
