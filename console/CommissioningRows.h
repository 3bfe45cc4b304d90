#pragma once

#include <QList>
#include <QString>
#include <optional>

class QLabel;
class QPushButton;
class QWidget;
class TForm_Main;

// A parameter row of the pages as commissioning works with it.
struct ParameterRow {
    int page = -1; // index into the window's parameter pages
    QString tag;   // the item's tag name
    qint32 address = 0;
    QWidget* value = nullptr; // edit or choice box
    QPushButton* read = nullptr;
    QPushButton* write = nullptr;
    QLabel* label = nullptr;
};

// The parameter rows of one page, or of every page for -1, in page order. Separators have
// no row; a row lacking its value box or buttons is passed over.
QList<ParameterRow> parameterRows(const TForm_Main& form, int page = -1);
// The row whose value box this is; nullopt for any other control.
std::optional<ParameterRow> rowOfField(const TForm_Main& form, const QWidget* field);

// What a Write of the field sends: a choice's value, a hexadecimal field's decimal number,
// an edit's text. Throws AppError for a hexadecimal field that holds no number.
QString writeValueOf(const TForm_Main& form, const QWidget* field);
// The same, or nullopt where a Write would send nothing.
std::optional<QString> deviceValueOf(const TForm_Main& form, const QWidget* field);
// The text the field shows.
QString shownTextOf(const QWidget* field);
// Shows a device value in the field as a reply would: hexadecimal for a hexadecimal field,
// the item text for a choice. False when a hexadecimal field cannot take it.
bool showDeviceValue(const TForm_Main& form, QWidget* field, const QString& value);
