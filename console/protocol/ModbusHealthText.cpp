#include "console/protocol/ModbusHealthText.h"

#include "console/protocol/ModbusRtu.h"

namespace {

QString msOrDash(qint64 ms) {
    return ms < 0 ? QStringLiteral("–") : QString::number(ms) + QStringLiteral(" ms");
}

} // namespace

QString ModbusHealthText(const ModbusHealth& h, bool english) {
    QStringList lines;
    lines << (english ? QStringLiteral("Sent %1 · good %2 · time-outs %3")
                      : QStringLiteral("已发 %1 · 正常 %2 · 超时 %3"))
                 .arg(h.sent)
                 .arg(h.good)
                 .arg(h.timedOut);
    lines << (english ? QStringLiteral("CRC errors %1 · wrong length or late %2 · exceptions %3 · unasked %4")
                      : QStringLiteral("校验错 %1 · 长度错或迟到 %2 · 异常 %3 · 无请求 %4"))
                 .arg(h.badCrc)
                 .arg(h.wrongLength + h.dropped)
                 .arg(h.exceptions)
                 .arg(h.unsolicited);
    lines << (english ? QStringLiteral("Reply time: last %1, average %2")
                      : QStringLiteral("应答时间：最近 %1，平均 %2"))
                 .arg(msOrDash(h.lastReplyMs), msOrDash(h.averageReplyMs()));
    if (h.exceptions > 0)
        lines << (english ? QStringLiteral("Last exception: %1") : QStringLiteral("最近异常：%1"))
                     .arg(ModbusExceptionMeaning(h.lastException, english));
    return lines.join(QLatin1Char('\n'));
}

QString ModbusStaleReasonText(const ModbusStale& s, bool english) {
    switch (s.reason) {
    case ModbusStale::TimedOut:
        return english ? QStringLiteral("No reply within %1 ms; the value shown is older").arg(s.timeoutMs)
                       : QStringLiteral("%1 ms 内无应答，显示的是之前的值").arg(s.timeoutMs);
    case ModbusStale::BadCrc:
        return english ? QStringLiteral("The reply was damaged (CRC error); the value shown is older")
                       : QStringLiteral("应答已损坏（校验错），显示的是之前的值");
    case ModbusStale::WrongLength:
        return english ? QStringLiteral("The reply had the wrong length; the value shown is older")
                       : QStringLiteral("应答长度不对，显示的是之前的值");
    case ModbusStale::Late:
        return english
                   ? QStringLiteral("The reply came after %1 ms; the value shown is older").arg(s.timeoutMs)
                   : QStringLiteral("应答晚于 %1 ms 才到，显示的是之前的值").arg(s.timeoutMs);
    case ModbusStale::Exception:
        return english ? QStringLiteral("The device refused the request: %1; the value shown is older")
                             .arg(ModbusExceptionMeaning(s.exceptionCode, english))
                       : QStringLiteral("设备拒绝了请求：%1，显示的是之前的值")
                             .arg(ModbusExceptionMeaning(s.exceptionCode, english));
    case ModbusStale::PortClosed:
        return english ? QStringLiteral("The port is closed; the value shown is older")
                       : QStringLiteral("端口已关闭，显示的是之前的值");
    case ModbusStale::WaitingForDevice:
        return english ? QStringLiteral("Waiting for the device to return; the value shown is older")
                       : QStringLiteral("正在等待设备重新连接，显示的是之前的值");
    }
    return {};
}

QString ModbusStaleText(const ModbusStale& stale, const QDateTime& lastGood, bool english) {
    const QString when =
        lastGood.isValid()
            ? (english ? QStringLiteral("Last good value: %1") : QStringLiteral("最近有效值：%1"))
                  .arg(lastGood.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            : (english ? QStringLiteral("No value has been read yet") : QStringLiteral("尚未读到数值"));
    return ModbusStaleReasonText(stale, english) + QLatin1Char('\n') + when;
}

QString ModbusTimeOutText(qint64 timeoutMs, bool english) {
    return ModbusStaleReasonText({ModbusStale::TimedOut, timeoutMs, 0}, english);
}

QString ModbusExceptionText(int exceptionCode, bool english) {
    return ModbusStaleReasonText({ModbusStale::Exception, 0, exceptionCode}, english);
}
