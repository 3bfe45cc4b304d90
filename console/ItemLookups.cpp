#include "app/MainFrm.h"

// Filled in with its subsystem.
QString TForm_Main::GetItemByValue(int, const QString&) { return {}; }
QString TForm_Main::GetValueByItem(int, const QString&) { return {}; }
QString TForm_Main::GetComboItemsStr(const QString&) { return {}; }
QString TForm_Main::GetItemsValueStr(int) { return {}; }
