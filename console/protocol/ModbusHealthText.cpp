#include "console/protocol/ModbusHealthText.h"

#include "console/protocol/ModbusRtu.h"

namespace {

QString msOrDash(qint64 ms) {
    return ms < 0 ? QStringLiteral("–") : QString::number(ms) + QStringLiteral(" ms");
}

} // namespace

QString ModbusHealthText(const ModbusHealth& h, bool english) {
    const QString counts =
        english ? QStringLiteral("Sent %1 · good %2 · time-outs %3 · CRC errors %4 · wrong length or late %5 · "
                                 "exceptions %6")
                : QStringLiteral("已发 %1 · 正常 %2 · 超时 %3 · 校验错 %4 · 长度错或迟到 %5 · 异常 %6");
    QString text = counts.arg(h.sent)
                       .arg(h.good)
                       .arg(h.timedOut)
                       .arg(h.badCrc)
                       .arg(h.wrongLength + h.dropped)
                       .arg(h.exceptions);
    text += QLatin1Char('\n');
    text += (english ? QStringLiteral("Reply time: last %1, average %2")
                     : QStringLiteral("应答时间：最近 %1，平均 %2"))
                .arg(msOrDash(h.lastReplyMs), msOrDash(h.averageReplyMs()));
    if (h.exceptions > 0)
        text += (english ? QStringLiteral(" · last exception: %1") : QStringLiteral(" · 最近异常：%1"))
                    .arg(ModbusExceptionMeaning(h.lastException, english));
    return text;
}

QString ModbusTimeOutText(qint64 timeoutMs, bool english) {
    return english ? QStringLiteral("No reply within %1 ms; the value shown is older").arg(timeoutMs)
                   : QStringLiteral("%1 ms 内无应答，显示的是之前的值").arg(timeoutMs);
}

QString ModbusExceptionText(int exceptionCode, bool english) {
    return english ? QStringLiteral("The device refused the request: %1; the value shown is older")
                         .arg(ModbusExceptionMeaning(exceptionCode, english))
                   : QStringLiteral("设备拒绝了请求：%1，显示的是之前的值")
                         .arg(ModbusExceptionMeaning(exceptionCode, english));
}
