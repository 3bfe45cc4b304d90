#pragma once

#include "config/Language.h"
#include "console/RowControls.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class ParameterModel;
class QLabel;
class QPushButton;
class QWidget;

// A parameter row of the pages as commissioning works with it.
struct ParameterRow {
    int page = -1; // index into the parameter pages
    QString tag;   // the item's tag name
    qint32 address = 0;
    QWidget* value = nullptr; // edit or choice box
    QPushButton* read = nullptr;
    QPushButton* write = nullptr;
    QLabel* label = nullptr;
};

// The parameter rows of one page, or of every page for -1, in the model's page order.
// Separators have no row; a row lacking its value box or buttons is passed over.
QList<ParameterRow> parameterRows(const ParameterModel& parameters, const QHash<QString, RowControls>& rows,
                                  int page = -1);
// The row whose value box this is; nullopt for any other control.
std::optional<ParameterRow> rowOfField(const ParameterModel& parameters,
                                       const QHash<QString, RowControls>& rows, const QWidget* field);

// What a Write of the field sends, or nullopt where a Write would send nothing (an empty
// field, a hexadecimal field holding no number, a choice position without a value).
std::optional<QString> deviceValueOf(const ParameterModel& parameters,
                                     const QHash<QString, RowControls>& rows, Language language,
                                     const QWidget* field);
