#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::Timer1Timer() {}
void TForm_Main::SendModbusRead(const TAutoRead&) {}
void TForm_Main::ShowAutoValue(const QByteArray&) {}
