// The language value: codes, locale names, built-in texts with plural forms, and setting the
// language of a configuration file.

#include "config/Language.h"
#include "config/FileLanguage.h"
#include "config/XmlDocument.h"
#include "support/TestApp.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(LanguageTest, CodesAndLocaleNamesChooseTheLanguage) {
    EXPECT_TRUE(Language::fromCode("EN").isEnglish());
    // The file's default is Chinese: anything but exactly "EN".
    for (const char* code : {"CN", "", "en", "EN ", "FR"})
        EXPECT_FALSE(Language::fromCode(code).isEnglish()) << code;
    EXPECT_EQ(Language::english().code(), "EN");
    EXPECT_EQ(Language::chinese().code(), "CN");

    for (const char* name : {"zh_CN.UTF-8", "zh_TW", "zh", "ZH_cn", "zh_HK.Big5"})
        EXPECT_EQ(Language::fromLocaleName(name), Language::chinese()) << name;
    for (const char* name : {"en_US.UTF-8", "C", "POSIX", "", "de_DE.UTF-8", "C.UTF-8", "xzh"})
        EXPECT_EQ(Language::fromLocaleName(name), Language::english()) << name;
}

TEST(LanguageTest, BuiltInTextsInBothLanguagesWithPluralForms) {
    const Language cn = Language::chinese();
    const Language en = Language::english();
    EXPECT_EQ(en.translate("Commissioning", "no reply"), "no reply");
    EXPECT_EQ(cn.translate("Commissioning", "no reply"), "无应答");
    EXPECT_EQ(cn.translate("Controls", "Read all pages"), "读取全部");

    const char* silent = "%n parameter(s) did not answer:";
    EXPECT_EQ(en.translate("Commissioning", silent, nullptr, 1), "1 parameter did not answer:");
    EXPECT_EQ(en.translate("Commissioning", silent, nullptr, 2), "2 parameters did not answer:");
    EXPECT_EQ(en.translate("Commissioning", silent, nullptr, 0), "0 parameters did not answer:");
    EXPECT_EQ(cn.translate("Commissioning", silent, nullptr, 1), "1 个参数没有应答：");
    EXPECT_EQ(cn.translate("Commissioning", silent, nullptr, 12), "12 个参数没有应答：");
    EXPECT_EQ(
        en.translate("Commissioning", "These %n parameter(s) will be written to the device:\n", nullptr, 1),
        "This parameter will be written to the device:\n");

    // A text the catalogue lacks shows its English source, its count put in; the context
    // matters, so one context's text is not found under another.
    EXPECT_EQ(cn.translate("Nowhere", "%n apples", nullptr, 3), "3 apples");
    EXPECT_EQ(cn.translate("Nowhere", "no reply"), "no reply");
}

// What a configuration file holds apart from its LANGUAGE value stays as it was.
const QByteArray kFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<TERVALON appName=\"设备\"><LANGUAGE value=\"CN\"><COMPONETS/></LANGUAGE>"
                         "<COMM Port=\"COM3\"/></TERVALON>\n";

TEST(LanguageTest, WritingTheFilesLanguageChangesOnlyItsValue) {
    TempAppDir dir;
    dir.write("config.xml", kFile);
    EXPECT_EQ(WriteFileLanguage(dir.file("config.xml"), Language::chinese()), "");
    EXPECT_EQ(dir.read("config.xml"), kFile) << "already Chinese: not rewritten";

    EXPECT_EQ(WriteFileLanguage(dir.file("config.xml"), Language::english()), "");
    XmlDocument doc;
    doc.load(dir.file("config.xml"));
    const XmlNode root = doc.findRoot();
    EXPECT_EQ(root.findChild("LANGUAGE").readAttribute("value"), "EN");
    EXPECT_EQ(root.readAttribute("appName"), "设备");
    EXPECT_EQ(root.findChild("COMM").readAttribute("Port"), "COM3");
    EXPECT_FALSE(root.findChild("LANGUAGE").findChild("COMPONETS").isNull());
}

TEST(LanguageTest, AFileThatCannotTakeTheLanguageIsNamedAndLeftAlone) {
    TempAppDir dir;
    const QByteArray noLanguage = "<TERVALON><COMM Port=\"COM3\"/></TERVALON>\n";
    dir.write("a.xml", noLanguage);
    EXPECT_TRUE(WriteFileLanguage(dir.file("a.xml"), Language::english()).contains("LANGUAGE"));
    EXPECT_EQ(dir.read("a.xml"), noLanguage);

    const QByteArray broken = "<TERVALON><LANGUAGE value=\"CN\">";
    dir.write("b.xml", broken);
    EXPECT_FALSE(WriteFileLanguage(dir.file("b.xml"), Language::english()).isEmpty());
    EXPECT_EQ(dir.read("b.xml"), broken);

    EXPECT_FALSE(WriteFileLanguage(dir.file("missing.xml"), Language::english()).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("missing.xml")));
}

// Restores an environment variable when the test ends.
struct SavedVariable {
    explicit SavedVariable(const char* name)
        : name(name), had(qEnvironmentVariableIsSet(name)), value(qgetenv(name)) {}
    ~SavedVariable() { had ? qputenv(name, value) : qunsetenv(name); }
    const char* name;
    bool had;
    QByteArray value;
};

TEST(LanguageTest, TheDesktopsLanguageComesFromTheMessageVariablesInOrder) {
    SavedVariable all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(DesktopLocaleName(), "zh_CN.UTF-8");
    qputenv("LC_MESSAGES", "en_GB.UTF-8");
    EXPECT_EQ(DesktopLocaleName(), "en_GB.UTF-8");
    qputenv("LC_ALL", "");
    EXPECT_EQ(DesktopLocaleName(), "en_GB.UTF-8") << "an empty variable counts as unset";
    qputenv("LC_ALL", "zh_TW.UTF-8");
    EXPECT_EQ(DesktopLocaleName(), "zh_TW.UTF-8");
}

} // namespace
