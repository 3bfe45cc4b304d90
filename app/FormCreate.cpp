#include "app/MainFrm.h"

#include "ui/ShowingErrors.h"
#include "app/StartupMessages.h"
#include "appearance/BannerImage.h"
#include "config/AppError.h"
#include "config/ConfigFileCheck.h"
#include "config/ConfigSize.h"
#include "config/FileReplace.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"

#include <QFileInfo>

void TForm_Main::noticeStartupProblems() {
    QStringList lines;
    if (!BatchFaults.isEmpty())
        lines << BatchFaultsMessage(BatchFaults, language());
    lines << StartupNotices;
    if (!lines.isEmpty())
        showMessage(lines.join(u'\n'));
}

// An error, whatever its kind, ends start-up here: whatever was built stays and the rest of
// start-up does not run. The file is then used read-only: a file the console refused, or
// understood only in part, is never rewritten by a later save.
bool TForm_Main::buildFromConfiguration() {
    const bool built = runShowingErrors([this] {
        try {
            ConfigDocument = std::make_unique<XmlDocument>();
            ConfigDocument->load(ConfigPath);
            CheckConfigSize(ConfigDocument->findRoot());
            LoadConfiguration();
            // The rows were made after the configured theme was applied.
            refreshControlLooks();
            if (LanguageCode == QLatin1String("CN"))
                createLanguageNodeAtStartup();
            SetLanguage();
            CreateMenu2();
        } catch (const AppError& e) {
            // Before the file's language is known, in both (the program's own words differ).
            const bool known = LanguageCode == QLatin1String("CN") || LanguageCode == QLatin1String("EN");
            const QString chinese = e.textIn(Language::chinese()), english = e.textIn(Language::english());
            QString text = known ? e.textIn(language()) : chinese == english ? english : chinese + u'\n' + english;
            if (e.kind() == AppError::Kind::Value)
                if (const QString place = ValuePlaceText(LastAttributeRead(), LanguageCode); !place.isEmpty())
                    text += u'\n' + place;
            throw AppError(text + u'\n' + RefusedConfigNotice(LanguageCode));
        }
    });
    if (!built) {
        ConfigRefused = true;
        UseReadOnly(ConfigPath);
    }
    return built;
}

void TForm_Main::createLanguageNodeAtStartup() {
    try {
        CreateLanguageNode();
    } catch (const SaveError& e) {
        // The entries this run added stay in memory; the file stays as it is.
        UseReadOnly(ConfigPath);
        if (ConfigDocument)
            ConfigDocument->save(ConfigPath);
        StartupNotices << StartupSaveRefusedNotice(e.textIn(language()), LanguageCode);
    }
}

void TForm_Main::FormCreate() {
    const QString bannerPath = AppDir + QStringLiteral("banner.jpg");
    if (!loadBanner(bannerPath)) {
        // Worded again by every language pass.
        BannerErrorPath = bannerPath;
        Panel_Top->setCaption(BannerLoadErrorText(bannerPath, language()));
    }

    const ConfigFileCheck check = CheckConfigFile(ConfigPath);
    if (check.usable()) {
        // A file the user cannot write is still used: its choices apply for this run, and
        // the user hears once that they will not be kept.
        if (const int problem = WriteProblem(ConfigPath)) {
            UseReadOnly(ConfigPath);
            showMessage(ConfigUnwritableText(ConfigPath, problem));
        }
        const bool built = buildFromConfiguration();
        noticeStartupProblems();
        if (!built)
            return;
    } else {
        showMessage(ConfigNotFoundText(check, ConfigSearchedPlaces, ConfigSearchProblem));
    }
}
