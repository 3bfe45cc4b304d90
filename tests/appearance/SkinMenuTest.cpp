#include "ThemeTestApp.h"
#include "app/MainFrm.h"
#include "appearance/ThemeManager.h"
#include "appearance/WaterImage.h"
#include "config/AppError.h"
#include "config/TextScrambler.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const Config = R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON appName="SkinTest" web1="%1" web2="%2">
	<SKIN SkinFile="Amakrits"/>
	<COMM Port="COM3" Baud="9600" Parity="N" ByteSize="8" StopBits="1"/>
	<NODE node1="n1" node2="n2" node3="n3"/>
	<LANGUAGE value="EN">
		<COMPONETS/>
		<MESSAGES/>
	</LANGUAGE>
	<GROUP_DYNC/>
	<GROUP_FIX/>
	<GROUP_AUTO/>
</TERVALON>
)";

class RecordingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override { shown << text; }
    QStringList shown;
};

class SkinMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        themeTestApp();
        setMessagePresenter(&messages);
        ASSERT_TRUE(dir.isValid());
        writeFile(QString::fromUtf8(Config)
                      .arg(ScrambleText("https://example.org", web1ScrambleKey),
                           ScrambleText("https://example.org", web2ScrambleKey))
                      .toUtf8());
        form = std::make_unique<TForm_Main>(dir.path());
        form->ConfigDocument = std::make_unique<XmlDocument>();
        form->ConfigDocument->load(form->ConfigPath);
        form->CreateMenu2();
    }
    void TearDown() override {
        form.reset();
        setMessagePresenter(nullptr);
        ThemeManager::applyTheme(ThemeManager::SystemLook);
    }

    void writeFile(const QByteArray& text) {
        QFile file(dir.filePath("config.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray fileText() {
        QFile file(dir.filePath("config.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString storedSkin() {
        XmlDocument doc = XmlDocument::openForWriting(dir.filePath("config.xml"));
        return doc.findRoot().findChild("SKIN").readAttribute("SkinFile");
    }
    QList<QAction*> entries() { return form->Menu_Skins->menu()->actions(); }
    // Chooses an entry the way a click does, through the window's error guard.
    void choose(const QString& caption) {
        for (QAction* item : entries())
            if (item->text() == caption)
                return item->trigger();
        FAIL() << "no entry " << caption.toStdString();
    }

    QTemporaryDir dir;
    RecordingPresenter messages;
    std::unique_ptr<TForm_Main> form;
};

TEST_F(SkinMenuTest, MenuOffersCloseSkinThenEveryThemeOnceUnderOneEntry) {
    form->CreateMenu2(); // built again: entries are replaced, not added
    ASSERT_EQ(form->PopupMenu_Skins->actions().size(), 1);
    EXPECT_EQ(form->Menu_Skins->text(), "Skins");
    QStringList captions;
    for (QAction* item : entries())
        captions << item->text();
    EXPECT_EQ(captions, QStringList{"Close Skin"} + ThemeManager::themeNames());
}

TEST_F(SkinMenuTest, ChosenThemeIsAppliedAndStored) {
    choose("Carbon");
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(ThemeManager::currentTheme(), "Carbon");
    EXPECT_EQ(storedSkin(), "Carbon");
    EXPECT_TRUE(fileText().contains("Port=\"COM3\"")) << "the rest of the file is kept";
}

TEST_F(SkinMenuTest, ChosenThemeIsAppliedAtTheNextStart) {
    choose("Carbon");
    form.reset();
    ThemeManager::applyTheme("Amakrits"); // what the program applies before any window exists
    TForm_Main next(dir.path());
    next.FormCreate();
    EXPECT_EQ(ThemeManager::currentTheme(), "Carbon");
}

TEST_F(SkinMenuTest, CloseSkinShowsThePlainLookAndStoresNothing) {
    choose("Luna");
    const QByteArray before = fileText();
    choose("Close Skin");
    EXPECT_EQ(ThemeManager::currentTheme(), "Windows");
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(fileText(), before);
}

// The document in memory is what gets saved, so choosing the current theme again writes the
// file again, even over a change made to the file behind the program's back.
TEST_F(SkinMenuTest, ChoosingTheAppliedThemeAgainRewritesTheFile) {
    choose("Glow");
    QByteArray edited = fileText();
    edited.replace("SkinFile=\"Glow\"", "SkinFile=\"Sky\"");
    writeFile(edited);
    choose("Glow");
    EXPECT_EQ(storedSkin(), "Glow");
}

TEST_F(SkinMenuTest, UnknownThemeChangesNeitherLookNorFile) {
    choose("Obsidian");
    const QByteArray before = fileText();
    QAction stray("Obsidian Deluxe");
    try {
        form->SkinMenuItemClick(&stray);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.text(), "Style 'Obsidian Deluxe' not found");
    }
    EXPECT_EQ(ThemeManager::currentTheme(), "Obsidian");
    EXPECT_EQ(fileText(), before);
}

TEST_F(SkinMenuTest, KeepingTheBannerMovingIsOffUntilChosenAndThenStored) {
    form->LoadConfiguration();
    EXPECT_FALSE(form->Menu_BannerAlways->isChecked());
    EXPECT_FALSE(form->WaterImage1->RunsInBackground());
    EXPECT_TRUE(form->WaterImage1->actions().contains(form->Menu_BannerAlways)) << "on the banner's own menu";

    form->Menu_BannerAlways->trigger();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_TRUE(form->WaterImage1->RunsInBackground());
    EXPECT_TRUE(fileText().contains("KeepBannerMoving=\"1\""));
    EXPECT_EQ(storedSkin(), "Amakrits") << "the theme stays";

    form.reset();
    TForm_Main next(dir.path());
    next.FormCreate();
    EXPECT_TRUE(next.Menu_BannerAlways->isChecked());
    EXPECT_TRUE(next.WaterImage1->RunsInBackground());
    next.Menu_BannerAlways->trigger();
    EXPECT_FALSE(next.WaterImage1->RunsInBackground());
    EXPECT_TRUE(fileText().contains("KeepBannerMoving=\"0\""));
}

TEST_F(SkinMenuTest, SkinsButtonOpensTheMenuLeftOfAndBelowThePointer) {
    QCursor::setPos(300, 200);
    if (QCursor::pos() != QPoint(300, 200))
        GTEST_SKIP() << "this platform cannot place the pointer";
    form->btn_SkinsClick();
    EXPECT_TRUE(form->PopupMenu_Skins->isVisible());
    EXPECT_EQ(form->PopupMenu_Skins->pos(), QPoint(270, 212));
    form->PopupMenu_Skins->hide();
}

} // namespace
