#include "app/MainFrm.h"
#include "app/StartTheme.h"
#include "language/ControlSettingFrm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyStartTheme();

    TForm_Main mainWindow(QCoreApplication::applicationDirPath());
    mainWindow.FormCreate();
    TForm_ControlSetting editor;
    Form_ControlSetting = &editor;
    editor.hide();

    mainWindow.showMaximized();
    const int code = app.exec();
    Form_ControlSetting = nullptr;
    return code;
}
