#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::ReadButtonClick(QObject*) {}
void TForm_Main::WriteButtonClick(QObject*) {}
void TForm_Main::FixedButtonClick(QObject*) {}
void TForm_Main::btn_SendClick() {}
void TForm_Main::CommSendStr(const QString&) {}
void TForm_Main::btn_CmdsClick() {}
