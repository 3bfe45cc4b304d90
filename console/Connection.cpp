#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::btn_ConnectClick() {}
void TForm_Main::tmr_RxLedTimer() {}
void TForm_Main::tmr_TxLedTimer() {}
void TForm_Main::DelayWithMessages(int) {}
