#include "config/PollingBlock.h"

QString PollingBlockProblem(const TAutoRead& block, const QString& pageCaption, Language language) {
    if (block.pro != QLatin1String("MODBUS"))
        return {};
    QString problem;
    if (block.equAddr < MinStationAddress || block.equAddr > MaxStationAddress)
        problem = language.translate("PollingBlock", "the station address equAddr=%1 is not within %2-%3")
                      .arg(block.equAddr)
                      .arg(MinStationAddress)
                      .arg(MaxStationAddress);
    else if (block.readSize < 1 || block.readSize > MaxRegistersPerRead)
        problem = language.translate("PollingBlock", "the register count regLen=%1 is not within 1-%2")
                      .arg(block.readSize)
                      .arg(MaxRegistersPerRead);
    else if (block.startAddr < 0 || qint64(block.startAddr) + block.readSize > 65536)
        problem = language.translate("PollingBlock", "the registers from startReg=%1 go beyond 0-65535")
                      .arg(block.startAddr);
    else
        return {};
    return language.translate("PollingBlock", "Auto-read page \"%1\": %2; the page is not polled.")
        .arg(pageCaption, problem);
}
