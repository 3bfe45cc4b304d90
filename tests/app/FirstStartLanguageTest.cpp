// The first start of an installed console speaks the desktop's language; later starts keep
// the language the user chose.

#include "app/ConfigLocation.h"
#include "app/MainFrm.h"
#include "support/TestApp.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// An installed layout: the example under share/, no file beside the program.
struct Installed {
    TempAppDir root;
    ConfigSearch search;
    explicit Installed(const QString& desktopLocale) {
        testApp();
        QDir(root.path()).mkpath("bin");
        QDir(root.path()).mkpath("share/tervalon");
        search.executableDir = root.path() + "bin";
        search.userConfigDir = root.path() + "home/.config";
        search.exampleDir = root.path() + "share/tervalon";
        search.desktopLocale = desktopLocale;
        QFile::copy(sourceDir() + "/examples/config.xml", root.file("share/tervalon/config.xml"));
    }
    QString userFile() const { return root.file("home/.config/tervalon/config.xml"); }
    QByteArray example() const { return root.read("share/tervalon/config.xml"); }
};

TEST(FirstStartLanguageTest, AnEnglishDesktopStartsTheInstalledConsoleInEnglish) {
    Installed installed("en_US.UTF-8");
    ASSERT_TRUE(installed.example().contains("<LANGUAGE value=\"CN\">")) << "the example is Chinese";
    const ConfigLocation found = FindConfigFile(installed.search);
    ASSERT_TRUE(found.error.isEmpty()) << found.error.toStdString();
    EXPECT_TRUE(installed.root.read("home/.config/tervalon/config.xml").contains("<LANGUAGE value=\"EN\">"));
    EXPECT_TRUE(installed.example().contains("<LANGUAGE value=\"CN\">")) << "the example itself is untouched";

    RecordingPresenter presenter;
    TForm_Main form(installed.root.path() + "bin");
    form.UseConfigFile(found.path);
    form.FormCreate();
    EXPECT_EQ(form.LanguageCode, "EN");
    EXPECT_EQ(form.btn_Trend->text(), "Trend");
    EXPECT_EQ(form.btn_Connect->text(), "Connect");
}

TEST(FirstStartLanguageTest, AChineseDesktopKeepsTheExampleChinese) {
    Installed installed("zh_CN.UTF-8");
    const ConfigLocation found = FindConfigFile(installed.search);
    ASSERT_TRUE(found.error.isEmpty()) << found.error.toStdString();
    EXPECT_EQ(installed.root.read("home/.config/tervalon/config.xml"), installed.example());

    RecordingPresenter presenter;
    TForm_Main form(installed.root.path() + "bin");
    form.UseConfigFile(found.path);
    form.FormCreate();
    EXPECT_EQ(form.LanguageCode, "CN");
    EXPECT_EQ(form.btn_Trend->text(), "趋势图");
}

TEST(FirstStartLanguageTest, AnExistingFilesLanguageIsNeverChanged) {
    Installed installed("zh_CN.UTF-8");
    FindConfigFile(installed.search);
    QByteArray english = installed.root.read("home/.config/tervalon/config.xml");
    english.replace("<LANGUAGE value=\"CN\">", "<LANGUAGE value=\"EN\">");
    installed.root.write("home/.config/tervalon/config.xml", english);

    // The same user on a Chinese desktop again, and on another desktop language.
    for (const char* locale : {"zh_CN.UTF-8", "de_DE.UTF-8"}) {
        installed.search.desktopLocale = locale;
        EXPECT_EQ(FindConfigFile(installed.search).path, installed.userFile());
        EXPECT_EQ(installed.root.read("home/.config/tervalon/config.xml"), english) << locale;
    }
}

} // namespace
