#include "console/protocol/ModbusHealthText.h"

#include "console/protocol/ModbusRtu.h"

namespace {

QString msOrDash(qint64 ms) {
    return ms < 0 ? QStringLiteral("–") : QString::number(ms) + QStringLiteral(" ms");
}

QString worded(Language language, const char* source) {
    return language.translate("ModbusHealth", source);
}

} // namespace

QString ModbusHealthText(const ModbusHealth& h, Language language) {
    QStringList lines;
    lines << worded(language, QT_TRANSLATE_NOOP("ModbusHealth", "Sent %1 · good %2 · time-outs %3"))
                 .arg(h.sent)
                 .arg(h.good)
                 .arg(h.timedOut);
    lines << worded(language,
                    QT_TRANSLATE_NOOP("ModbusHealth",
                                      "CRC errors %1 · wrong length or late %2 · exceptions %3 · unasked %4"))
                 .arg(h.badCrc)
                 .arg(h.wrongLength + h.dropped)
                 .arg(h.exceptions)
                 .arg(h.unsolicited);
    lines << worded(language, QT_TRANSLATE_NOOP("ModbusHealth", "Reply time: last %1, average %2"))
                 .arg(msOrDash(h.lastReplyMs), msOrDash(h.averageReplyMs()));
    if (h.exceptions > 0)
        lines << worded(language, QT_TRANSLATE_NOOP("ModbusHealth", "Last exception: %1"))
                     .arg(ModbusExceptionMeaning(h.lastException, language));
    return lines.join(QLatin1Char('\n'));
}

QString ModbusStaleReasonText(const ModbusStale& s, Language language) {
    switch (s.reason) {
    case ModbusStale::TimedOut:
        return worded(language,
                      QT_TRANSLATE_NOOP("ModbusHealth", "No reply within %1 ms; the value shown is older"))
            .arg(s.timeoutMs);
    case ModbusStale::BadCrc:
        return worded(
            language,
            QT_TRANSLATE_NOOP("ModbusHealth", "The reply was damaged (CRC error); the value shown is older"));
    case ModbusStale::WrongLength:
        return worded(
            language,
            QT_TRANSLATE_NOOP("ModbusHealth", "The reply had the wrong length; the value shown is older"));
    case ModbusStale::Late:
        return worded(language, QT_TRANSLATE_NOOP("ModbusHealth",
                                                  "The reply came after %1 ms; the value shown is older"))
            .arg(s.timeoutMs);
    case ModbusStale::Exception:
        return worded(language,
                      QT_TRANSLATE_NOOP("ModbusHealth",
                                        "The device refused the request: %1; the value shown is older"))
            .arg(ModbusExceptionMeaning(s.exceptionCode, language));
    case ModbusStale::PortClosed:
        return worded(language,
                      QT_TRANSLATE_NOOP("ModbusHealth", "The port is closed; the value shown is older"));
    case ModbusStale::WaitingForDevice:
        return worded(
            language,
            QT_TRANSLATE_NOOP("ModbusHealth", "Waiting for the device to return; the value shown is older"));
    }
    return {};
}

QString ModbusStaleText(const ModbusStale& stale, const QDateTime& lastGood, Language language) {
    const QString when =
        lastGood.isValid()
            ? worded(language, QT_TRANSLATE_NOOP("ModbusHealth", "Last good value: %1"))
                  .arg(lastGood.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            : worded(language, QT_TRANSLATE_NOOP("ModbusHealth", "No value has been read yet"));
    return ModbusStaleReasonText(stale, language) + QLatin1Char('\n') + when;
}
