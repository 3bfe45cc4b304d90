#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::FormResize() {}
void TForm_Main::Panel_MidResize() {}
void TForm_Main::pg_DYNCResize() {}
void TForm_Main::pg_FIXResize() {}
