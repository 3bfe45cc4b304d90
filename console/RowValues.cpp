#include "console/RowValues.h"

#include "device/ParameterModel.h"
#include "ui/ComponentRegistry.h"

#include <QComboBox>
#include <QLineEdit>

QString rowShownText(const QWidget* field) {
    if (isEdit(field))
        return static_cast<const QLineEdit*>(field)->text();
    if (isComboBox(field))
        return static_cast<const QComboBox*>(field)->currentText();
    return {};
}

const Parameter* parameterOfField(const ParameterModel& model, const QHash<QString, RowControls>& rows,
                                  const QWidget* field) {
    if (!field)
        return nullptr;
    for (auto it = rows.constBegin(); it != rows.constEnd(); ++it)
        if (it->value == field)
            return model.byTag(it.key());
    return nullptr;
}

std::optional<QString> rowWriteValue(const Parameter* parameter, const QWidget* field, Language language,
                                     QString* error) {
    const QString shown = rowShownText(field);
    if (!parameter) {
        if (shown.isEmpty() && error)
            *error = QStringLiteral("The parameter value cannot be empty");
        return shown.isEmpty() ? std::nullopt : std::optional<QString>(shown);
    }
    return DeviceValueOf(*parameter, shown, language.code(), error);
}

bool showRowValue(const Parameter* parameter, QWidget* field, const QString& deviceValue, Language language) {
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
