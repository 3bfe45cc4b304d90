#include "device/ParameterText.h"

#include <QStringList>

QString ValueAsShown(const Parameter& parameter, const QString& deviceValue, const QString& languageCode) {
    const std::optional<QString> shown = ShownTextOf(parameter, deviceValue, languageCode);
    if (!shown || *shown == deviceValue)
        return deviceValue;
    return QStringLiteral("%1 (%2)").arg(*shown, deviceValue);
}

QString PolledValueAsShown(const PolledValue& value, quint16 raw, const QString& decimalSeparator) {
    const QString rawText = QString::number(raw);
    const std::optional<QString> scaled = ScaledValueOf(value, raw, decimalSeparator);
    if (!scaled)
        return rawText;
    QString text = *scaled;
    if (!value.unit.isEmpty())
        text += QLatin1Char(' ') + value.unit;
    return *scaled == rawText ? text : QStringLiteral("%1 (%2)").arg(text, rawText);
}

bool IsCaptionPlaceholder(const QString& text) {
    static const QStringList placeholders = {QStringLiteral("Right click to set"),
                                             QStringLiteral("请点击右键设置显示内容"),
                                             QStringLiteral("请点击右键设置提示信息")};
    return placeholders.contains(text.trimmed());
}

QString SnapshotCaption(const Parameter& parameter, const QString& languageCode) {
    const QString code = languageCode == QLatin1String("EN") ? QStringLiteral("EN") : QStringLiteral("CN");
    QString caption = parameter.captions.value(code);
    if (caption.trimmed().isEmpty() || IsCaptionPlaceholder(caption))
        caption = code == QLatin1String("CN") ? parameter.caption : QString();
    return IsCaptionPlaceholder(caption) ? QString() : caption;
}
