#pragma once

#include <QDialog>

// The editor for one control's captions, tooltips, choices and command, shown from the
// right-click menu of the main window's controls.
class TForm_ControlSetting : public QDialog {
    Q_OBJECT
public:
    explicit TForm_ControlSetting(QWidget* parent = nullptr);
};

// The one editor window, created hidden at start-up.
extern TForm_ControlSetting* Form_ControlSetting;
