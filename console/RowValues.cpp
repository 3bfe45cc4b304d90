#include "console/RowValues.h"

#include "app/MainFrm.h"
#include "ui/ComponentRegistry.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const Parameter* parameterOfField(const TForm_Main& form, const QWidget* field) {
    for (auto it = form.ParameterControls.constBegin(); it != form.ParameterControls.constEnd(); ++it)
        if (it->value == field)
            return form.Parameters.byTag(it.key());
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

qint32 rowAddressOf(const TForm_Main& form, const QObject* button) {
    for (auto it = form.ParameterControls.constBegin(); it != form.ParameterControls.constEnd(); ++it)
        if (button && (it->read == button || it->write == button))
            if (const Parameter* parameter = form.Parameters.byTag(it.key()))
                return parameter->address;
    return componentTag(button);
}

std::optional<QString> rowWriteValue(const TForm_Main& form, const QWidget* field, QString* error) {
    const QString shown = rowShownText(field);
    const Parameter* parameter = parameterOfField(form, field);
    if (!parameter) {
        if (shown.isEmpty() && error)
            *error = QStringLiteral("The parameter value cannot be empty");
        return shown.isEmpty() ? std::nullopt : std::optional<QString>(shown);
    }
    return DeviceValueOf(*parameter, shown, form.LanguageCode, error);
}

bool showRowValue(const TForm_Main& form, QWidget* field, const QString& deviceValue) {
    const Parameter* parameter = parameterOfField(form, field);
    const std::optional<QString> shown = parameter ? ShownTextOf(*parameter, deviceValue, form.LanguageCode)
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
