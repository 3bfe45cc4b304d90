#include "console/protocol/ModbusHealthText.h"

#include "console/protocol/ModbusRtu.h"

namespace {

QString msOrDash(qint64 ms) {
    return ms < 0 ? QStringLiteral("–") : QString::number(ms) + QStringLiteral(" ms");
}

} // namespace

QString ModbusHealthText(const ModbusHealth& h, Language language) {
    const QString counts = language.translate(
        "ModbusHealth",
        "Sent %1 · good %2 · time-outs %3 · CRC errors %4 · wrong length or late %5 · exceptions %6");
    QString text = counts.arg(h.sent)
                       .arg(h.good)
                       .arg(h.timedOut)
                       .arg(h.badCrc)
                       .arg(h.wrongLength + h.dropped)
                       .arg(h.exceptions);
    text += QLatin1Char('\n');
    text += language.translate("ModbusHealth", "Reply time: last %1, average %2")
                .arg(msOrDash(h.lastReplyMs), msOrDash(h.averageReplyMs()));
    if (h.exceptions > 0)
        text += language.translate("ModbusHealth", " · last exception: %1")
                    .arg(ModbusExceptionMeaning(h.lastException, language));
    return text;
}

QString ModbusTimeOutText(qint64 timeoutMs, Language language) {
    return language.translate("ModbusHealth", "No reply within %1 ms; the value shown is older")
        .arg(timeoutMs);
}

QString ModbusExceptionText(int exceptionCode, Language language) {
    return language.translate("ModbusHealth", "The device refused the request: %1; the value shown is older")
        .arg(ModbusExceptionMeaning(exceptionCode, language));
}
