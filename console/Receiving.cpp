#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::Comm1ReceiveData(QObject*, const char*, int) {}
void TForm_Main::btn_ClearRxmmoClick() {}
void TForm_Main::chk_AutoNewLineClick() {}
