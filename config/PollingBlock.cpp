#include "config/PollingBlock.h"

QString PollingBlockProblem(const TAutoRead& block, const QString& pageCaption) {
    if (block.pro != QLatin1String("MODBUS"))
        return {};
    QString cn, en;
    if (block.equAddr < MinStationAddress || block.equAddr > MaxStationAddress) {
        cn = QStringLiteral("站号 equAddr=%1 不在 %2-%3 之间")
                 .arg(block.equAddr)
                 .arg(MinStationAddress)
                 .arg(MaxStationAddress);
        en = QStringLiteral("the station address equAddr=%1 is not within %2-%3")
                 .arg(block.equAddr)
                 .arg(MinStationAddress)
                 .arg(MaxStationAddress);
    } else if (block.readSize < 1 || block.readSize > MaxRegistersPerRead) {
        cn = QStringLiteral("寄存器数 regLen=%1 不在 1-%2 之间").arg(block.readSize).arg(MaxRegistersPerRead);
        en = QStringLiteral("the register count regLen=%1 is not within 1-%2")
                 .arg(block.readSize)
                 .arg(MaxRegistersPerRead);
    } else if (block.startAddr < 0 || qint64(block.startAddr) + block.readSize > 65536) {
        cn = QStringLiteral("起始寄存器 startReg=%1 超出 0-65535").arg(block.startAddr);
        en = QStringLiteral("the registers from startReg=%1 go beyond 0-65535").arg(block.startAddr);
    } else {
        return {};
    }
    return QStringLiteral(
               "自动读取页“%1”：%2，该页不读取。 / Auto-read page \"%1\": %3; the page is not polled.")
        .arg(pageCaption, cn, en);
}
