#pragma once

#include "config/Language.h"
#include "console/RowControls.h"

#include <QHash>
#include <QString>
#include <optional>

class ParameterModel;
class QWidget;

// A parameter row's field as a view of its parameter: what a Write of it sends and how a
// device value shows in it go through the parameter model's conversions, in the language in
// use. The rows are found through their records (the controls of each parameter by its tag),
// never through the window. A field of no parameter row has no parameter.

// The text the field shows.
QString rowShownText(const QWidget* field);
// What a Write of the field sends. Nothing, with the reason in *error, for an empty field,
// a hexadecimal field that holds no number, or a choice without a value; a field of no row
// sends its text as it is.
std::optional<QString> rowWriteValue(const ParameterModel& parameters,
                                     const QHash<QString, RowControls>& rows, Language language,
                                     const QWidget* field, QString* error = nullptr);
// Shows a device value in the field as a reply does. False when the field cannot show it
// (a hexadecimal field and a value that is no number in its range).
bool showRowValue(const ParameterModel& parameters, const QHash<QString, RowControls>& rows,
                  Language language, QWidget* field, const QString& deviceValue);
