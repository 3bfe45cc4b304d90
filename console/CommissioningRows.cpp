#include "console/CommissioningRows.h"

#include "app/MainFrm.h"
#include "config/AppError.h"
#include "console/HexField.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/protocol/CommandText.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

const QString readPrefix = QStringLiteral("btn_Read_");

int pageOf(const TForm_Main& form, const QWidget* w) {
    for (int i = 0; i < form.DyncSheets.size(); ++i)
        if (form.DyncSheets[i] && form.DyncSheets[i]->isAncestorOf(w))
            return i;
    return -1;
}

std::optional<ParameterRow> rowOfTag(const TForm_Main& form, const QString& tag) {
    ParameterRow row;
    row.tag = tag;
    row.read = qobject_cast<QPushButton*>(form.FindComponent(readPrefix + tag));
    row.write = qobject_cast<QPushButton*>(form.FindComponent(QStringLiteral("btn_Write_") + tag));
    row.label = qobject_cast<QLabel*>(form.FindComponent(QStringLiteral("lbl_") + tag));
    row.value = qobject_cast<QWidget*>(form.FindComponent(QStringLiteral("edt_") + tag));
    if (!row.value)
        row.value = qobject_cast<QWidget*>(form.FindComponent(QStringLiteral("cbb_") + tag));
    if (!row.read || !row.write || !row.value)
        return std::nullopt;
    row.page = pageOf(form, row.value);
    if (row.page < 0)
        return std::nullopt;
    row.address = componentTag(row.read);
    return row;
}

} // namespace

QList<ParameterRow> parameterRows(const TForm_Main& form, int page) {
    QList<ParameterRow> rows;
    for (QObject* c : form.Components.all()) {
        const QString name = componentName(c);
        if (!name.startsWith(readPrefix))
            continue;
        const auto row = rowOfTag(form, name.mid(readPrefix.size()));
        if (row && (page < 0 || row->page == page))
            rows << *row;
    }
    // Creation order is page order within a page; pages keep their own order.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ParameterRow& a, const ParameterRow& b) { return a.page < b.page; });
    return rows;
}

std::optional<ParameterRow> rowOfField(const TForm_Main& form, const QWidget* field) {
    if (!field)
        return std::nullopt;
    const auto row = rowOfTag(form, rowTagOf(field));
    if (!row || row->value != field)
        return std::nullopt;
    return row;
}

QString writeValueOf(const TForm_Main& form, const QWidget* field) {
    if (isEdit(field)) {
        const QString text = static_cast<const QLineEdit*>(field)->text();
        return isHexField(field) ? HexFieldToDecimal(text) : text;
    }
    if (isComboBox(field))
        return ItemLookupIndex::of(form.ConfigPath)
            ->valueForText(rowTagOf(field), static_cast<const QComboBox*>(field)->currentText(),
                           form.language());
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
        if (!isHexField(edit)) {
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
            ItemLookupIndex::of(form.ConfigPath)->textForValue(rowTagOf(field), value, form.language()));
        return true;
    }
    return false;
}
