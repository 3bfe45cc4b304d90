#include "console/RowValues.h"

#include "device/ParameterModel.h"
#include "ui/ComponentRegistry.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const Parameter* parameterOfField(const ParameterModel& parameters, const QHash<QString, RowControls>& rows,
                                  const QWidget* field) {
    for (auto it = rows.constBegin(); it != rows.constEnd(); ++it)
        if (field && it->value == field)
            return parameters.byTag(it.key());
    return nullptr;
}

} // namespace

QString rowShownText(const QWidget* field) {
    if (isEdit(field))
        return static_cast<const QLineEdit*>(field)->text();
    if (isComboBox(field))
        return static_cast<const QComboBox*>(field)->currentText();
    return {};
}

std::optional<QString> rowWriteValue(const ParameterModel& parameters,
                                     const QHash<QString, RowControls>& rows, Language language,
                                     const QWidget* field, QString* error) {
    const QString shown = rowShownText(field);
    const Parameter* parameter = parameterOfField(parameters, rows, field);
    if (!parameter) {
        if (shown.isEmpty() && error)
            *error = QStringLiteral("The parameter value cannot be empty");
        return shown.isEmpty() ? std::nullopt : std::optional<QString>(shown);
    }
    return DeviceValueOf(*parameter, shown, language.code(), error);
}

bool showRowValue(const ParameterModel& parameters, const QHash<QString, RowControls>& rows,
                  Language language, QWidget* field, const QString& deviceValue) {
    const Parameter* parameter = parameterOfField(parameters, rows, field);
    const std::optional<QString> shown = parameter ? ShownTextOf(*parameter, deviceValue, language.code())
                                                   : std::optional<QString>(deviceValue);
    if (!shown)
        return false;
    if (isEdit(field)) {
        static_cast<QLineEdit*>(field)->setText(*shown);
        return true;
    }
    if (isComboBox(field)) {
        static_cast<QComboBox*>(field)->setCurrentText(*shown);
        return true;
    }
    return false;
}
