#include "app/MainFrm.h"
#include "appearance/ThemeManager.h"
#include "appearance/WaterImage.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace {
// The entry that returns to the plain look without remembering it.
const QString CloseSkin = QStringLiteral("Close Skin");
} // namespace

void TForm_Main::CreateMenu2() {
    QMenu* skins = Menu_Skins->menu();
    if (!skins) {
        skins = new QMenu(PopupMenu_Skins);
        Menu_Skins->setMenu(skins);
    }
    skins->clear();

    QStringList captions{CloseSkin};
    captions << ThemeManager::themeNames();
    for (const QString& caption : captions) {
        QAction* item = skins->addAction(caption);
        connect(item, &QAction::triggered, this, [this, item] { guarded([&] { SkinMenuItemClick(item); }); });
    }
}

void TForm_Main::btn_SkinsClick() {
    PopupMenu_Skins->popup(QCursor::pos() + QPoint(-30, 12));
}

void TForm_Main::SkinMenuItemClick(QAction* item) {
    const QString caption = item->text();
    if (caption == CloseSkin) {
        // The stored choice stays, so the next start shows the theme chosen before.
        ThemeManager::applyTheme(ThemeManager::SystemLook);
        return;
    }
    // Applying first: an unknown name throws here and nothing is stored.
    ThemeManager::applyTheme(caption);
    // The document in memory is written as it stands; every other write reloads it from the
    // file afterwards, so it never holds an older state than the file.
    if (!ConfigDocument)
        return;
    ConfigDocument->findRoot().findChild("SKIN").writeAttribute("SkinFile", caption);
    ConfigDocument->save(ConfigPath);
}

// Written into the document in memory like the theme; the attribute appears in the file only
// once someone has changed the choice, so files stay as they were until then.
void TForm_Main::Menu_BannerAlwaysClick() {
    const bool always = Menu_BannerAlways->isChecked();
    WaterImage1->SetRunsInBackground(always);
    if (!ConfigDocument)
        return;
    ConfigDocument->findRoot().findChild("SKIN").writeAttribute(
        QStringLiteral("KeepBannerMoving"), always ? QStringLiteral("1") : QStringLiteral("0"));
    ConfigDocument->save(ConfigPath);
}
