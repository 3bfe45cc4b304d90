#pragma once

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
