// The program's options and where it finds its configuration file.

#include "app/CommandLine.h"
#include "app/ConfigLocation.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, ReadsOwnOptionsAndPassesQtOptionsOver) {
    EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
    EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(ParseCommandLine({"--config", "a.xml", "--version"}).action, Action::Version);

    const CommandLine spaced = ParseCommandLine({"--config", "/x/my config.xml"});
    EXPECT_EQ(spaced.action, Action::Run);
    EXPECT_EQ(spaced.configPath, "/x/my config.xml");
    EXPECT_EQ(ParseCommandLine({"--config=b.xml"}).configPath, "b.xml");

    // Qt's own options and their values are not ours to refuse: "-style" takes "Fusion".
    const CommandLine qt =
        ParseCommandLine({"-platform", "offscreen", "-style", "Fusion", "--config", "c.xml"});
    EXPECT_EQ(qt.action, Action::Run);
    EXPECT_EQ(qt.configPath, "c.xml");
}

TEST(CommandLineTest, RefusesWhatItDoesNotKnowWithAClearText) {
    for (const QStringList& args : {QStringList{"--verbose"}, QStringList{"config.xml"},
                                    QStringList{"--config"}, QStringList{"--config="}}) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.action, Action::Error) << args.join(' ').toStdString();
        EXPECT_FALSE(line.error.isEmpty());
    }
    EXPECT_TRUE(ParseCommandLine({"--verbose"}).error.contains("--verbose"));
    EXPECT_EQ(kCommandLineErrorExit, 2);
}

struct Folders {
    TempAppDir root;
    ConfigSearch search;
    Folders() {
        QDir(root.path()).mkpath("bin");
        QDir(root.path()).mkpath("share/tervalon");
        search.executableDir = root.path() + "bin";
        search.userConfigDir = root.path() + "home/.config";
        search.exampleDir = root.path() + "share/tervalon";
        root.write("share/tervalon/config.xml", "<TERVALON/>");
        root.write("share/tervalon/banner.jpg", "jpeg");
    }
};

TEST(ConfigLocationTest, PortableCopyKeepsItsFileBesideTheProgram) {
    Folders f;
    f.root.write("bin/config.xml", "<TERVALON portable=\"1\"/>");
    const ConfigLocation found = FindConfigFile(f.search);
    EXPECT_EQ(found.path, QFileInfo(f.root.file("bin/config.xml")).absoluteFilePath());
    EXPECT_TRUE(found.besideExecutable);
    EXPECT_FALSE(QFileInfo::exists(f.root.file("home/.config/tervalon/config.xml")));
}

TEST(ConfigLocationTest, InstalledProgramMakesTheUsersOwnFileOnceAndKeepsIt) {
    Folders f;
    const ConfigLocation first = FindConfigFile(f.search);
    const QString user = f.root.file("home/.config/tervalon/config.xml");
    EXPECT_EQ(first.path, user);
    EXPECT_FALSE(first.besideExecutable);
    EXPECT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    EXPECT_EQ(f.root.read("home/.config/tervalon/config.xml"), "<TERVALON/>");
    EXPECT_EQ(f.root.read("home/.config/tervalon/banner.jpg"), "jpeg");
    EXPECT_TRUE(QFileInfo(user).isWritable());

    // The user's edits are never replaced by the example again.
    f.root.write("home/.config/tervalon/config.xml", "<TERVALON edited=\"1\"/>");
    EXPECT_EQ(FindConfigFile(f.search).path, user);
    EXPECT_EQ(f.root.read("home/.config/tervalon/config.xml"), "<TERVALON edited=\"1\"/>");
}

TEST(ConfigLocationTest, ExplicitFileWinsAndMissingExampleIsNamed) {
    Folders f;
    f.root.write("bin/config.xml", "<TERVALON/>");
    f.search.explicitPath = f.root.file("elsewhere/site.xml");
    EXPECT_EQ(FindConfigFile(f.search).path, QFileInfo(f.root.file("elsewhere/site.xml")).absoluteFilePath());

    f.search.explicitPath.clear();
    QFile::remove(f.root.file("bin/config.xml"));
    QFile::remove(f.root.file("share/tervalon/config.xml"));
    const ConfigLocation none = FindConfigFile(f.search);
    EXPECT_TRUE(none.error.contains("share/tervalon/config.xml")) << none.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(none.path));
}

} // namespace
