#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::PopupMenu1Popup(QWidget*) {}
