#include "app/MainFrm.h"

// Filled in with its subsystem.
void TForm_Main::CreateLanguageNode() {}
void TForm_Main::SetLanguage() {}
QString TForm_Main::GetLanguageAttributesStr(const QString&, const QString&, const QString&) { return {}; }
void TForm_Main::btn_FirstLanguageClick() {}
void TForm_Main::btn_SecondLanguageClick() {}
