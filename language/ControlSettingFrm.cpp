#include "language/ControlSettingFrm.h"

TForm_ControlSetting* Form_ControlSetting = nullptr;

TForm_ControlSetting::TForm_ControlSetting(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form_ControlSetting"));
}
