#pragma once

#include "config/Language.h"
#include "console/RowControls.h"

#include <QHash>
#include <QString>
#include <optional>

class ParameterModel;
struct Parameter;
class QWidget;

// A parameter row's field as a view of its parameter: what a Write of it sends and how a
// device value shows in it go through the parameter model's conversions, in the language
// given. Works from the model and the rows the page builder made, never from the window.

// The text the field shows (an edit's text, a choice box's current text); empty otherwise.
QString rowShownText(const QWidget* field);
// The parameter whose row shows its value in field; nullptr for a field of no row.
const Parameter* parameterOfField(const ParameterModel& model, const QHash<QString, RowControls>& rows,
                                  const QWidget* field);
// What a Write of the field sends. Nothing, with the reason in *error, for an empty field,
// a hexadecimal field that holds no number, or a choice without a value; a field of no
// parameter (nullptr) sends its text as it is.
std::optional<QString> rowWriteValue(const Parameter* parameter, const QWidget* field, Language language,
                                     QString* error = nullptr);
// Shows a device value in the field as a reply does. False when the field cannot show it (a
// hexadecimal field and a value that is no number in its range, or a field that is neither
// an edit nor a choice box).
bool showRowValue(const Parameter* parameter, QWidget* field, const QString& deviceValue, Language language);
