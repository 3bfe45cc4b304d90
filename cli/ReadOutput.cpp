#include "cli/ReadOutput.h"

#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/DeviceLink.h"

QStringList SilentLines(const CliConfig& config, const QList<ReadValue>& values) {
    QStringList lines;
    for (const ReadValue& v : values)
        if (!v.answered)
            lines << QStringLiteral("%1  %2")
                         .arg(v.parameter->address)
                         .arg(v.parameter->captionIn(config.languageCode));
    return lines;
}

QJsonArray SilentJson(const CliConfig& config, const QList<ReadValue>& values) {
    QJsonArray silent;
    for (const ReadValue& v : values)
        if (!v.answered)
            silent.append(QJsonObject{{"address", v.parameter->address},
                                      {"tag", v.parameter->tag},
                                      {"caption", v.parameter->captionIn(config.languageCode)}});
    return silent;
}

QString ReadTable(const CliConfig& config, const QList<ReadValue>& values) {
    QList<QStringList> rows;
    for (const ReadValue& v : values)
        rows << QStringList{
            QString::number(v.parameter->address), v.parameter->captionIn(config.languageCode),
            v.answered ? v.shown : config.text(QT_TRANSLATE_NOOP("Cli", "(no reply)")), v.deviceValue};
    QString text = TableText(
        {config.text(QT_TRANSLATE_NOOP("Cli", "address")), config.text(QT_TRANSLATE_NOOP("Cli", "caption")),
         config.text(QT_TRANSLATE_NOOP("Cli", "shown")), config.text(QT_TRANSLATE_NOOP("Cli", "sent"))},
        rows);
    const QStringList silent = SilentLines(config, values);
    if (!silent.isEmpty())
        text +=
            config.text(QT_TRANSLATE_N_NOOP("Cli", "\n%n parameter(s) did not answer:\n"), silent.size()) +
            silent.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return text;
}

QJsonObject ReadJson(const CliConfig& config, const QList<ReadValue>& values) {
    QJsonArray parameters;
    for (const ReadValue& v : values) {
        QJsonObject o{{"page", config.pageCaption(v.parameter->page)},
                      {"tag", v.parameter->tag},
                      {"address", v.parameter->address},
                      {"caption", v.parameter->captionIn(config.languageCode)},
                      {"answered", v.answered}};
        if (v.answered) {
            o.insert("shown", v.shown);
            o.insert("value", v.deviceValue);
            o.insert("time", v.time.toString(Qt::ISODate));
        }
        parameters.append(o);
    }
    return QJsonObject{{"config", config.path},
                       {"port", config.port.port},
                       {"parameters", parameters},
                       {"silent", SilentJson(config, values)}};
}

QList<ReadValue> ReadWithProgress(DeviceLink& link, const CliConfig& config,
                                  const QList<const Parameter*>& parameters) {
    const bool show = StdErrIsTerminal();
    auto progress = [&](qsizetype done, qsizetype total) {
        if (!show)
            return;
        PrintErr(config.text(QT_TRANSLATE_NOOP("Cli", "\rReading %1/%2")).arg(done).arg(total) +
                 (done == total ? QStringLiteral("\n") : QString()));
    };
    return ReadParameters(link, config, parameters, progress);
}
