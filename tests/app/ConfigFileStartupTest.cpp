// Start-up with configuration files that are missing, not files, links, refused or faulty:
// each is named precisely, and nothing is written into a file the console did not accept.

#include "app/ConfigLocation.h"
#include "app/MainFrm.h"
#include "config/ConfigSize.h"
#include "console/PageBuilderFixture.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class ConfigFileStartupTest : public ::testing::Test {
protected:
    void SetUp() override { testApp(); }
    RecordingPresenter presenter;
    TempAppDir dir;

    QString configPath() const { return dir.file("config.xml"); }
};

// Opens the far end of a FIFO after a generous while, so a test whose code waits on it
// fails instead of hanging.
class FifoRelease {
public:
    explicit FifoRelease(const QString& fifo) : m_path(QFile::encodeName(fifo)) {
        m_thread = std::thread([this] {
            for (int i = 0; i < 600 && !m_done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            while (!m_done) {
                m_released = true;
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~FifoRelease() {
        m_done = true;
        m_thread.join();
    }
    bool released() const { return m_released; }

private:
    QByteArray m_path;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_released{false};
    std::thread m_thread;
};

TEST_F(ConfigFileStartupTest, AFifoIsNamedAtStartUpAndALanguageButtonNeitherWaitsNorWrites) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(configPath()).constData(), 0644), 0);
    FifoRelease release(configPath());
    TForm_Main form(dir.path());
    form.FormCreate();
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].contains("not a regular file")) << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].contains(QStringLiteral("不是普通文件")));

    form.btn_SecondLanguage->click();
    form.btn_FirstLanguage->click();
    form.close();
    EXPECT_FALSE(release.released()) << "the console waited on the FIFO";
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(configPath()).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(ConfigFileStartupTest, AFolderOrAMissingFileIsNamedForWhatItIsInBothLanguages) {
    {
        TForm_Main form(dir.path());
        form.FormCreate();
        ASSERT_EQ(presenter.messages.size(), 1);
        EXPECT_EQ(presenter.messages[0], QStringLiteral("未发现配置文件") + configPath() +
                                             "\nThe configuration file " + configPath() + " was not found");
    }
    presenter.messages.clear();
    QDir().mkpath(configPath());
    TForm_Main form(dir.path());
    form.FormCreate();
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_FALSE(presenter.messages[0].contains(QStringLiteral("未发现")))
        << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].contains("is a folder, not a file"))
        << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].contains(QStringLiteral("是文件夹")));
}

// A file that cannot be read is named in both languages while the file's own language is
// unknown, and in the window's language once it is: a Chinese window that finds the file
// spoilt at a language switch says why in Chinese only.
TEST_F(ConfigFileStartupTest, AnUnreadableFileIsNamedInTheLanguagesTheReaderMayRead) {
    dir.write("config.xml", QByteArray("<?xml version=\"1.0\"?><TERVALON>\xC3</TERVALON>"));
    {
        TForm_Main form(dir.path());
        form.FormCreate();
        ASSERT_FALSE(presenter.messages.isEmpty());
        const QString shown = presenter.messages.join(u'\n');
        EXPECT_TRUE(shown.contains(QStringLiteral("无法读取配置文件"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("这不是有效的 UTF-8 文本"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains("Could not read the configuration file")) << shown.toStdString();
        EXPECT_TRUE(shown.contains("it is not valid UTF-8 text")) << shown.toStdString();
    }
    // Another folder: the refused file is kept read-only for the rest of the run.
    presenter.messages.clear();
    TempAppDir other;
    other.write("config.xml", TestConfig().xml());
    TForm_Main form(other.path());
    form.FormCreate();
    ASSERT_EQ(form.LanguageCode, "CN");
    presenter.messages.clear();
    QDir().remove(other.file("config.xml"));
    QDir().mkpath(other.file("config.xml"));
    form.btn_FirstLanguage->click();
    const QString shown = presenter.messages.join(u'\n');
    EXPECT_TRUE(shown.contains(QStringLiteral("无法读取配置文件"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("这是文件夹"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains("Could not read")) << shown.toStdString();
}

// A portable copy without config.xml: one message, naming every place looked in.
TEST_F(ConfigFileStartupTest, NoFileAnywhereGivesOneMessageNamingEveryPlaceLookedIn) {
    ConfigSearch search;
    search.executableDir = dir.path() + "bin";
    search.userConfigDir = dir.path() + "home/.config";
    search.exampleDir = dir.path() + "bin/../share/tervalon";
    const ConfigLocation location = FindConfigFile(search);
    ASSERT_EQ(location.searched.size(), 3);

    TForm_Main form(search.executableDir);
    form.UseConfigFile(location.path);
    form.ConfigSearchedPlaces = location.searched;
    form.ConfigSearchProblem = location.error;
    form.FormCreate();
    ASSERT_EQ(presenter.messages.size(), 1) << presenter.messages.join("\n---\n").toStdString();
    const QString& text = presenter.messages[0];
    for (const QString& place :
         {dir.path() + "bin/config.xml", dir.path() + "home/.config/tervalon/config.xml",
          dir.path() + "share/tervalon/config.xml"})
        EXPECT_EQ(text.count(place), 2) << "named in both languages: " << place.toStdString() << "\n"
                                        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("未发现配置文件")));
    EXPECT_TRUE(text.contains("No configuration file was found"));
}

// A portable copy whose config.xml went wrong (a folder made by mistake) hears about that
// folder, instead of silently getting the user's own file.
TEST_F(ConfigFileStartupTest, SomethingBesideTheProgramThatIsNotAFileIsNamedNotPassedOver) {
    ConfigSearch search;
    search.executableDir = dir.path() + "bin";
    search.userConfigDir = dir.path() + "home/.config";
    search.exampleDir = dir.path() + "share/tervalon";
    QDir().mkpath(dir.path() + "bin/config.xml");
    QDir().mkpath(dir.path() + "home/.config/tervalon");
    dir.write("home/.config/tervalon/config.xml", TestConfig().xml());
    const ConfigLocation location = FindConfigFile(search);
    EXPECT_EQ(location.path, dir.path() + "bin/config.xml");
    EXPECT_TRUE(location.besideExecutable);
}

TEST_F(ConfigFileStartupTest, ALinkedConfigurationStaysALinkAndItsTargetGetsTheSaves) {
    TempAppDir managed;
    managed.write("site.xml", TestConfig().xml());
    ASSERT_EQ(::symlink(QFile::encodeName(managed.file("site.xml")).constData(),
                        QFile::encodeName(configPath()).constData()),
              0);
    {
        TForm_Main form(dir.path());
        form.FormCreate();
        form.btn_SecondLanguage->click();
        form.cbb_Port->setCurrentText("COM7");
        form.close();
    }
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo(configPath()).isSymLink()) << "the link was replaced by a file";
    const QString saved = QString::fromUtf8(managed.read("site.xml"));
    EXPECT_TRUE(saved.contains("value=\"EN\"")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Port=\"COM7\""));
}

// Files refused at load, or whose start-up stopped: a language switch and closing change
// nothing on disk, while the switch still applies for the run.
TEST_F(ConfigFileStartupTest, NothingIsWrittenIntoAFileTheStartUpRefused) {
    TestConfig tooManyPages;
    QString pages;
    for (int i = 0; i <= MaxConfigPages; ++i)
        pages += QStringLiteral("<P%1 caption=\"p\"/>").arg(i);
    tooManyPages.dync = "<GROUP_DYNC>" + pages + "</GROUP_DYNC>";
    TestConfig unknownSkin;
    unknownSkin.skin = "<SKIN SkinFile=\"NoSuchSkin\"/>";
    TestConfig missingNode;
    missingNode.node.clear();
    for (const TestConfig& config : {tooManyPages, unknownSkin, missingNode}) {
        // A folder each: a file used read-only stays so for the whole process.
        TempAppDir dir;
        const QByteArray content = config.xml();
        dir.write("config.xml", content);
        presenter.errors.clear();
        {
            TForm_Main form(dir.path());
            form.FormCreate();
            ASSERT_EQ(presenter.errors.size(), 1);
            EXPECT_TRUE(presenter.errors[0].contains("changes made in this run will not be written"))
                << presenter.errors[0].toStdString();
            form.btn_SecondLanguage->click();
            EXPECT_EQ(form.LanguageCode, "EN");
            form.btn_FirstLanguage->click();
            form.cbb_Port->setCurrentText("COM9");
            form.close();
        }
        EXPECT_EQ(dir.read("config.xml"), content);
    }
}

// Files that load but can never be written in their own encoding: a GBK file with an
// attribute name holding a character GBK has no bytes for (glibc reads A2AB as a private-use character and
// has no way back), and a UTF-7 file. Start-up needs to add language entries, which cannot be saved: it says
// so once and goes on to the end; later saves neither write nor complain.
TEST_F(ConfigFileStartupTest, AFileThatCannotBeSavedStillStartsAndSaysSoOnce) {
    TestConfig gbk;
    gbk.node =
        QStringLiteral("<NODE node1=\"n1\" node2=\"n2\" node3=\"n3\" note%1=\"x\"/>").arg(QChar(0xE766));
    QByteArray gbkBytes = gbk.xml();
    gbkBytes.replace("encoding=\"UTF-8\"", "encoding=\"GBK\"");
    gbkBytes.replace(QString(QChar(0xE766)).toUtf8(), "\xA2\xAB");
    QByteArray utf7 = TestConfig().xml();
    utf7.replace("encoding=\"UTF-8\"", "encoding=\"UTF-7\"");
    for (const QByteArray& content : {gbkBytes, utf7}) {
        // A folder each: a file used read-only stays so for the whole process.
        TempAppDir dir;
        dir.write("config.xml", content);
        presenter.messages.clear();
        presenter.errors.clear();
        {
            TForm_Main form(dir.path());
            form.FormCreate();
            EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
            ASSERT_EQ(presenter.messages.size(), 1) << presenter.messages.join('\n').toStdString();
            // The file's language is known by then: the notice speaks it alone.
            EXPECT_TRUE(presenter.messages[0].contains(QStringLiteral("未能保存")))
                << presenter.messages[0].toStdString();
            EXPECT_FALSE(presenter.messages[0].contains("Could not save"))
                << presenter.messages[0].toStdString();
            EXPECT_FALSE(form.Menu_Skins->menu()->actions().isEmpty()) << "start-up stopped before the skins";
            form.btn_SecondLanguage->click();
            EXPECT_EQ(form.LanguageCode, "EN");
            form.btn_SecondLanguage->click();
            form.close();
        }
        EXPECT_EQ(presenter.messages.size(), 1) << presenter.messages.join('\n').toStdString();
        EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
        EXPECT_EQ(dir.read("config.xml"), content);
    }
}

// A file that needs no change at start-up is not saved at all, so one that could not be
// written back starts without a word.
TEST_F(ConfigFileStartupTest, AnUnchangedFileThatCouldNotBeWrittenStartsSilently) {
    TestConfig config;
    config.language.replace("value=\"CN\"", "value=\"EN\"");
    QByteArray utf7 = config.xml();
    utf7.replace("encoding=\"UTF-8\"", "encoding=\"UTF-7\"");
    dir.write("config.xml", utf7);
    TForm_Main form(dir.path());
    form.FormCreate();
    form.close();
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
    EXPECT_EQ(dir.read("config.xml"), utf7);
}

// Start-up errors about a value name the element, the attribute and the line, and how to
// mend it; the error's own text stays first, as it always read.
TEST_F(ConfigFileStartupTest, StartUpErrorsNameTheElementTheAttributeAndTheLine) {
    struct Case {
        QByteArray xml;
        QString error, element, attribute, line;
    };
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const QList<Case> cases = {
        {head + "<TERVALON web1=\"0000\" web2=\"0000\">\n</TERVALON>\n",
         "Could not convert variant of type (Null) into type (OleStr)", "element TERVALON", "appName",
         "line 2"},
        {head + "<TERVALON appName=\"a\" web1=\"\" web2=\"\">\n</TERVALON>\n",
         "'$' is not a valid integer value", "element TERVALON", "web1", "line 2"},
        {head + "<TERVALON appName=\"a\" web1=\"0000\" web2=\"0000\">\n\n\t<SKIN SkinFile=\"NoSuchSkin\"/>\n"
                "</TERVALON>\n",
         "Style 'NoSuchSkin' not found", "element TERVALON/SKIN", "SkinFile", "line 4"},
        {head + "<TERVALON appName=\"a\" web1=\"0000\" web2=\"0000\">\n\t<SKIN SkinFile=\"Windows\"/>\n"
                "\t<COMM Baud=\"9600\"/>\n</TERVALON>\n",
         "Could not convert variant of type (Null) into type (OleStr)", "element TERVALON/COMM", "Port",
         "line 4"},
    };
    for (const Case& c : cases) {
        TempAppDir dir;
        dir.write("config.xml", c.xml);
        presenter.errors.clear();
        TForm_Main form(dir.path());
        form.FormCreate();
        ASSERT_EQ(presenter.errors.size(), 1) << c.error.toStdString();
        const QString& text = presenter.errors[0];
        EXPECT_TRUE(text.startsWith(c.error)) << text.toStdString();
        for (const QString& part : {c.element, c.attribute, c.line, dir.file("config.xml")})
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << " missing in\n" << text.toStdString();
        // No language is known before LANGUAGE is read: both.
        EXPECT_TRUE(text.contains(QStringLiteral("位置"))) << text.toStdString();
        EXPECT_TRUE(text.contains("start the program again")) << text.toStdString();
    }
}

TEST_F(ConfigFileStartupTest, AStartUpErrorAfterTheLanguageIsKnownSpeaksOnlyThatLanguage) {
    TestConfig config;
    config.language.replace("value=\"CN\"", "value=\"EN\"");
    config.dync = "<GROUP_DYNC><P1/></GROUP_DYNC>";
    dir.write("config.xml", config.xml());
    TForm_Main form(dir.path());
    form.FormCreate();
    ASSERT_EQ(presenter.errors.size(), 1);
    const QString& text = presenter.errors[0];
    EXPECT_TRUE(text.startsWith("Could not convert variant of type (Null) into type (OleStr)"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("element TERVALON/GROUP_DYNC/P1 has no attribute caption"))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("位置"))) << text.toStdString();
}

} // namespace
