#include "app/MainFrm.h"

#include "app/ControlLook.h"
#include "app/Controls.h"
#include "app/MessageBoxes.h"
#include "config/AppError.h"

#include <QFileInfo>

void TForm_Main::FormCreate() {
    const QString bannerPath = AppDir + QStringLiteral("banner.jpg");
    if (!loadBanner(bannerPath)) {
        if (LanguageCode == QLatin1String("EN"))
            Panel_Top->setCaption(QStringLiteral("Error loading image ") + bannerPath);
        else
            Panel_Top->setCaption(QStringLiteral("加载图片") + bannerPath + QStringLiteral("时发生错误"));
    }

    if (QFileInfo(ConfigPath).isFile()) {
        try {
            ConfigDocument = std::make_unique<XmlDocument>();
            ConfigDocument->load(ConfigPath);
            LoadConfiguration();
            // The rows were made after the configured theme was applied.
            refreshControlLooks();
            if (LanguageCode == QLatin1String("CN"))
                CreateLanguageNode();
            SetLanguage();
            CreateMenu2();
        } catch (const AppError& e) {
            // Whatever was built stays; the rest of start-up does not run.
            showErrorMessage(e.text());
            return;
        }
    } else {
        if (LanguageCode == QLatin1String("EN"))
            showMessage(QStringLiteral("The configuration file ") + ConfigPath +
                        QStringLiteral("was not found"));
        else
            showMessage(QStringLiteral("未发现配置文件") + ConfigPath);
    }
    AutoPageCursor = 0;
    ShowModbusHealth();
}
