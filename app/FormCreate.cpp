#include "app/MainFrm.h"

#include "app/ShowingErrors.h"
#include "appearance/BannerImage.h"
#include "config/AppError.h"
#include "config/ConfigSize.h"
#include "config/FileReplace.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"

#include <QFileInfo>

void TForm_Main::noticeStartupProblems() {
    QStringList lines;
    if (!BatchFaults.isEmpty())
        lines << BatchFaultsMessage(BatchFaults);
    lines << StartupNotices;
    if (!lines.isEmpty())
        showMessage(lines.join(u'\n'));
}

void TForm_Main::FormCreate() {
    const QString bannerPath = AppDir + QStringLiteral("banner.jpg");
    if (!loadBanner(bannerPath)) {
        // Worded again by every language pass.
        BannerErrorPath = bannerPath;
        Panel_Top->setCaption(BannerLoadErrorText(bannerPath, language()));
    }

    if (QFileInfo(ConfigPath).isFile()) {
        // A file the user cannot write is still used: its choices apply for this run, and
        // the user hears once that they will not be kept.
        if (const QString problem = WriteProblem(ConfigPath); !problem.isEmpty()) {
            UseReadOnly(ConfigPath);
            showMessage(QStringLiteral("配置文件%1无法写入（%2），本次运行中的更改不会保存。\n"
                                       "The configuration file %1 cannot be written (%2); changes made "
                                       "in this run will not be saved.")
                            .arg(ConfigPath, problem));
        }
        // An error, whatever its kind, ends start-up here: whatever was built stays and the
        // rest of start-up does not run.
        const bool built = runShowingErrors([this] {
            ConfigDocument = std::make_unique<XmlDocument>();
            ConfigDocument->load(ConfigPath);
            CheckConfigSize(ConfigDocument->findRoot());
            LoadConfiguration();
            // The rows were made after the configured theme was applied.
            refreshControlLooks();
            if (LanguageCode == QLatin1String("CN"))
                CreateLanguageNode();
            SetLanguage();
            CreateMenu2();
        });
        noticeStartupProblems();
        if (!built)
            return;
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
