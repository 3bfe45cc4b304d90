#include "console/CommissioningRows.h"

#include "console/RowValues.h"
#include "device/ParameterModel.h"

#include <QSet>

namespace {

// The row of a parameter of the model, once its page built all of its controls.
std::optional<ParameterRow> rowOf(const QHash<QString, RowControls>& rows, const Parameter& parameter) {
    const auto controls = rows.constFind(parameter.tag);
    if (controls == rows.constEnd() || !controls->read || !controls->write || !controls->value ||
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

QList<ParameterRow> parameterRows(const ParameterModel& parameters, const QHash<QString, RowControls>& rows,
                                  int page) {
    QList<ParameterRow> found;
    QSet<QString> tags;
    // The model lists its parameters page by page, each page in document order; a tag names
    // one row only.
    for (const Parameter* parameter : parameters.rows()) {
        const auto row = rowOf(rows, *parameter);
        if (row && (page < 0 || row->page == page) && !tags.contains(row->tag)) {
            tags.insert(row->tag);
            found << *row;
        }
    }
    return found;
}

std::optional<ParameterRow> rowOfField(const ParameterModel& parameters,
                                       const QHash<QString, RowControls>& rows, const QWidget* field) {
    if (!field)
        return std::nullopt;
    for (auto it = rows.constBegin(); it != rows.constEnd(); ++it)
        if (it->value == field)
            if (const Parameter* parameter = parameters.byTag(it.key()))
                return rowOf(rows, *parameter);
    return std::nullopt;
}

std::optional<QString> deviceValueOf(const ParameterModel& parameters,
                                     const QHash<QString, RowControls>& rows, Language language,
                                     const QWidget* field) {
    return rowWriteValue(parameters, rows, language, field);
}
