#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// The controls the page builder made for one parameter of the model: the row is a view of
// its parameter, found by the parameter's tag, never by the controls' names.
struct RowControls {
    int page = -1; // index into the window's parameter pages
    QLabel* label = nullptr;
    QWidget* value = nullptr; // edit or choice box
    QPushButton* read = nullptr;
    QPushButton* write = nullptr;
};

// A fixed-command button and the command it sends: config.xml's cmdStr at first, then the
// command line of the language in use whenever the language tables are applied (the settings
// editor changes commands through them). The button's tooltip only shows it.
struct FixedCommandControls {
    QString tag;
    QString command;
};

// The controls of one automatic-reading row. Its value, scaling and unit are the parameter
// model's polled value with the row's tag; the labels only show them.
struct AutoValueControls {
    QString tag;
    qint32 address = 0;
    QLabel* value = nullptr;
    QLabel* caption = nullptr;
    QLabel* unit = nullptr;
};
