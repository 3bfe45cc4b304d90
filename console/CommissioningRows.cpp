#include "console/CommissioningRows.h"

#include "console/HexField.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "app/MainFrm.h"
#include "config/AppError.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/protocol/CommandText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

namespace {

bool english(const TForm_Main& form) {
    return form.LanguageCode == QLatin1String("EN");
}

// The row of a parameter of the model, once its page built all of its controls.
std::optional<ParameterRow> rowOf(const TForm_Main& form, const Parameter& parameter) {
    const auto controls = form.ParameterControls.constFind(parameter.tag);
    if (controls == form.ParameterControls.constEnd() || !controls->read || !controls->write || !controls->value ||
        controls->page < 0)
        return std::nullopt;
    ParameterRow row;
    row.page = controls->page;
    row.tag = parameter.tag;
    row.address = parameter.address;
    row.value = controls->value;
    row.read = controls->read;
    row.write = controls->write;
    row.label = controls->label;
    return row;
}

} // namespace

QList<ParameterRow> parameterRows(const TForm_Main& form, int page) {
    QList<ParameterRow> rows;
    QSet<QString> tags;
    // The model lists its parameters page by page, each page in document order; a tag names
    // one row only.
    for (const Parameter* parameter : form.Parameters.rows()) {
        const auto row = rowOf(form, *parameter);
        if (row && (page < 0 || row->page == page) && !tags.contains(row->tag)) {
            tags.insert(row->tag);
            rows << *row;
        }
    }
    return rows;
}

std::optional<ParameterRow> rowOfField(const TForm_Main& form, const QWidget* field) {
    if (!field)
        return std::nullopt;
    for (auto it = form.ParameterControls.constBegin(); it != form.ParameterControls.constEnd(); ++it)
        if (it->value == field)
            if (const Parameter* parameter = form.Parameters.byTag(it.key()))
                return rowOf(form, *parameter);
    return std::nullopt;
}

namespace {

// Whether the field takes hexadecimal: its parameter's kind (choice texts still go through
// the lookups, which follow edits of config.xml); a field of no parameter row goes by its mark.
bool takesHex(const TForm_Main& form, const QWidget* field) {
    for (auto it = form.ParameterControls.constBegin(); it != form.ParameterControls.constEnd(); ++it)
        if (it->value == field)
            if (const Parameter* parameter = form.Parameters.byTag(it.key()))
                return parameter->kind == Parameter::Kind::Hex;
    return isHexField(field);
}

} // namespace

QString writeValueOf(const TForm_Main& form, const QWidget* field) {
    if (isEdit(field)) {
        const QString text = static_cast<const QLineEdit*>(field)->text();
        return takesHex(form, field) ? HexFieldToDecimal(text) : text;
    }
    if (isComboBox(field))
        return ItemLookupIndex::of(form.ConfigPath)
            ->valueForText(rowTagOf(field), static_cast<const QComboBox*>(field)->currentText(), english(form));
    return {};
}

std::optional<QString> deviceValueOf(const TForm_Main& form, const QWidget* field) {
    try {
        const QString value = writeValueOf(form, field);
        if (!value.isEmpty())
            return value;
    } catch (const AppError&) {
    }
    return std::nullopt;
}

QString shownTextOf(const QWidget* field) {
    if (isEdit(field))
        return static_cast<const QLineEdit*>(field)->text();
    if (isComboBox(field))
        return static_cast<const QComboBox*>(field)->currentText();
    return {};
}

bool showDeviceValue(const TForm_Main& form, QWidget* field, const QString& value) {
    if (isEdit(field)) {
        auto* edit = static_cast<QLineEdit*>(field);
        if (!takesHex(form, edit)) {
            edit->setText(value);
            return true;
        }
        const auto hex = ReplyValueToHexField(value);
        if (hex)
            edit->setText(*hex);
        return hex.has_value();
    }
    if (isComboBox(field)) {
        static_cast<QComboBox*>(field)->setCurrentText(
            ItemLookupIndex::of(form.ConfigPath)->textForValue(rowTagOf(field), value, english(form)));
        return true;
    }
    return false;
}
