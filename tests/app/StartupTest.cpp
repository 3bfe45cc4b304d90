#include "app/MainFrm.h"
#include "config/AppError.h"
#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "support/TestApp.h"
#include "ui/ComponentRegistry.h"
#include "ui/Controls.h"
#include "ui/VersionInfo.h"
#include "ui/WindowTitle.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray minimalConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- kept by hand -->
<TERVALON appName="Demo" web1="0000" web2="0000">
	<SKIN SkinFile="Windows"/>
	<COMM Port="COM3" Baud="115200" Parity="E" ByteSize="7" StopBits="2"/>
	<CMDS showButton="0" caption="Run"/>
	<NODE node1="n1" node2="n2" node3="n3"/>
	<LANGUAGE value="EN"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/><EDIT/><COMBOBOX/><CHECKBOX/></COMPONETS><MESSAGES/></LANGUAGE>
	<GROUP_DYNC/>
	<GROUP_FIX/>
	<GROUP_AUTO/>
</TERVALON>
)";

// Start-ups that stop before the port settings are read: the boxes still hold the
// template's COM1/9600/N/8/1.
const QByteArray unknownSkin = R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON appName="Demo" web1="0000" web2="0000">
	<SKIN SkinFile="NoSuchSkin"/>
	<COMM Port="/dev/ttyUSB3" Baud="115200" Parity="E" ByteSize="7" StopBits="2"/>
</TERVALON>
)";
const QByteArray emptyWebAddress = R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON appName="Demo" web1="" web2="">
	<SKIN SkinFile="Windows"/>
	<COMM Port="/dev/ttyUSB3" Baud="115200" Parity="E" ByteSize="7" StopBits="2"/>
</TERVALON>
)";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { testApp(); }
    RecordingPresenter presenter;
    TempAppDir dir;
};

TEST_F(StartupTest, WithoutConfigurationShowsOneMessageAndKeepsTheFrame) {
    TForm_Main form(dir.path());
    form.FormCreate();
    ASSERT_EQ(presenter.messages.size(), 1);
    // No language is known without the file: both.
    EXPECT_EQ(presenter.messages[0], QStringLiteral("未发现配置文件") + dir.path() +
                                         QStringLiteral("config.xml\nThe configuration file ") + dir.path() +
                                         QStringLiteral("config.xml was not found"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Form_Main"));
    EXPECT_EQ(form.pg_DYNC->count(), 0);
    EXPECT_EQ(form.pg_FIX->count(), 0);
    EXPECT_EQ(form.pg_AUTO->count(), 0);
    // No banner either: the Chinese error text sits in the top panel.
    EXPECT_EQ(form.Panel_Top->caption(),
              QStringLiteral("加载图片") + dir.path() + QStringLiteral("banner.jpg时发生错误"));

    // Closing has nothing to write back to and must neither create a file nor complain.
    form.close();
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("config.xml"))));
    EXPECT_EQ(presenter.messages.size(), 1);
}

TEST_F(StartupTest, ClosingWritesThePortBoxesBackAndKeepsTheRest) {
    dir.write(QStringLiteral("config.xml"), minimalConfig);
    TForm_Main form(dir.path());
    form.FormCreate();
    EXPECT_EQ(form.cbb_Port->currentText(), QStringLiteral("COM3"));
    form.cbb_Port->setCurrentText(QStringLiteral("/dev/ttyUSB0"));
    form.cbb_Baud->setCurrentText(QStringLiteral("256000"));
    form.cbb_CheckBit->setCurrentText(QStringLiteral("M"));
    form.cbb_DataBit->setCurrentText(QStringLiteral("5"));
    form.cbb_StopBit->setCurrentText(QStringLiteral("1.5"));
    form.close();

    const QString saved = QString::fromUtf8(dir.read(QStringLiteral("config.xml")));
    EXPECT_TRUE(saved.contains(QStringLiteral("Port=\"/dev/ttyUSB0\""))) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QStringLiteral("Baud=\"256000\"")));
    EXPECT_TRUE(saved.contains(QStringLiteral("Parity=\"M\"")));
    EXPECT_TRUE(saved.contains(QStringLiteral("ByteSize=\"5\"")));
    EXPECT_TRUE(saved.contains(QStringLiteral("StopBits=\"1.5\"")));
    EXPECT_TRUE(saved.contains(QStringLiteral("<!-- kept by hand -->")));
    EXPECT_TRUE(saved.contains(QStringLiteral("appName=\"Demo\"")));
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
}

TEST_F(StartupTest, ClosingAfterAStartUpThatStoppedBeforeThePortSettingsKeepsThem) {
    for (const QByteArray& content : {unknownSkin, emptyWebAddress}) {
        dir.write(QStringLiteral("config.xml"), content);
        presenter.errors.clear();
        {
            TForm_Main form(dir.path());
            form.FormCreate();
            EXPECT_EQ(presenter.errors.size(), 1);
            EXPECT_EQ(form.cbb_Port->currentText(), QStringLiteral("COM1"));
            form.close();
        }
        EXPECT_EQ(dir.read(QStringLiteral("config.xml")), content);
    }
}

TEST_F(StartupTest, ClosingWithoutAStartUpWritesNothing) {
    dir.write(QStringLiteral("config.xml"), minimalConfig);
    TForm_Main form(dir.path());
    form.cbb_Port->setCurrentText(QStringLiteral("COM9"));
    form.close();
    EXPECT_EQ(dir.read(QStringLiteral("config.xml")), minimalConfig);
}

TEST_F(StartupTest, ClosingWithoutRootOrCommWritesNothing) {
    const QByteArray noComm = "<?xml version=\"1.0\"?>\n<TERVALON appName=\"x\"/>\n";
    const QByteArray otherRoot = "<?xml version=\"1.0\"?>\n<OTHER><COMM Port=\"COM1\"/></OTHER>\n";
    const QByteArray broken = "<TERVALON><COMM Port=";
    for (const QByteArray& content : {noComm, otherRoot, broken}) {
        dir.write(QStringLiteral("config.xml"), content);
        TForm_Main form(dir.path());
        form.cbb_Port->setCurrentText(QStringLiteral("COM9"));
        form.close();
        EXPECT_EQ(dir.read(QStringLiteral("config.xml")), content);
    }
    EXPECT_TRUE(presenter.messages.isEmpty());
}

TEST_F(StartupTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
    TForm_Main form(dir.path());
    form.guarded([] { throw AppError(QStringLiteral("'x' is not a valid integer value")); });
    form.guarded([] { throw std::runtime_error("boom"); });
    form.guarded([] { throw std::bad_alloc(); });
    form.guarded([] { throw 42; });
    ASSERT_EQ(presenter.errors.size(), 4);
    EXPECT_EQ(presenter.errors.mid(0, 2),
              (QStringList{QStringLiteral("'x' is not a valid integer value"), "boom"}));
    // In the window's language (Chinese until a file says otherwise), not both.
    EXPECT_EQ(presenter.errors[2], QStringLiteral("内存不足，操作未完成"));
    EXPECT_EQ(presenter.errors[3], QStringLiteral("未知错误，操作未完成"));
    form.LanguageCode = QStringLiteral("EN");
    form.guarded([] { throw std::bad_alloc(); });
    EXPECT_EQ(presenter.errors.value(4), "Out of memory; the operation was not completed");
    // A refused save is worded in both and shown in the window's.
    const auto refusedSave = [] { throw SaveError("Could not save it", QStringLiteral("未能保存")); };
    form.guarded(refusedSave);
    EXPECT_EQ(presenter.errors.value(5), "Could not save it");
    form.LanguageCode = QStringLiteral("CN");
    form.guarded(refusedSave);
    EXPECT_EQ(presenter.errors.value(6), QStringLiteral("未能保存"));
}

TEST_F(StartupTest, TemplateControlsAreRegisteredInCreationOrder) {
    TForm_Main form(dir.path());
    EXPECT_EQ(form.FindComponent(QStringLiteral("mmo_rx")), static_cast<QObject*>(form.mmo_RX));
    EXPECT_EQ(form.FindComponent(QStringLiteral("Panel_Top")), static_cast<QObject*>(form.Panel_Top));
    const auto all = form.Components.all();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), static_cast<QObject*>(form.Panel_Top));
    EXPECT_TRUE(isLabel(form.lbl_Port));
    EXPECT_FALSE(isStaticText(form.lbl_Port));
    EXPECT_TRUE(form.btn_Cmds->isHidden());
    EXPECT_EQ(form.cbb_Baud->count(), 13);
    EXPECT_EQ(form.cbb_Port->itemText(15), QStringLiteral("COM16"));
    EXPECT_TRUE(TForm_Main::hasPopupMenu1(form.lbl_Node1));
    EXPECT_FALSE(TForm_Main::hasPopupMenu1(form.btn_Connect));
    EXPECT_FALSE(TForm_Main::hasPopupMenu1(form.mmo_RX));
}

TEST(ComponentRegistryTest, NamesAreUniqueWithoutRegardToCaseAndMustBeIdentifiers) {
    ComponentRegistry registry;
    QObject a, b, c, d;
    registry.add(&a, QStringLiteral("lbl_P1"));
    try {
        registry.add(&b, QStringLiteral("LBL_p1"));
        FAIL() << "clash not detected";
    } catch (const AppError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("A component named LBL_p1 already exists"));
    }
    EXPECT_THROW(registry.add(&c, QStringLiteral("lbl_a-b")), AppError);
    EXPECT_THROW(registry.add(&c, QStringLiteral("1abc")), AppError);
    registry.add(&d, QString()); // unnamed components are walked, not found
    EXPECT_EQ(registry.find(QStringLiteral("lbl_p1")), &a);
    EXPECT_EQ(registry.all().size(), 2u);
}

TEST(VersionInfoTest, ExecutableCarriesItsVersionAndOtherFilesDoNot) {
    testApp();
    const QString exe = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetFileVersionText(exe), GetExeVersionText());
    EXPECT_NE(GetExeVersionText(), QStringLiteral("0.0.0.0"));
    TempAppDir dir;
    dir.write(QStringLiteral("plain.txt"), "no record here");
    EXPECT_EQ(GetFileVersionText(dir.file(QStringLiteral("plain.txt"))), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(GetFileVersionText(dir.file(QStringLiteral("missing"))), QStringLiteral("0.0.0.0"));
}

TEST(VersionInfoTest, TimeStampsAreEvenSecondsAndZeroForMissingFiles) {
    TempAppDir dir;
    dir.write(QStringLiteral("f"), "x");
    const QDateTime written = GetFileTimeStamp(dir.file(QStringLiteral("f")), 1);
    EXPECT_EQ(written.time().second() % 2, 0);
    EXPECT_LE(qAbs(written.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_EQ(FormatTitleTimeStamp(GetFileTimeStamp(dir.file(QStringLiteral("none")), 1))
                  .left(10)
                  .remove(QRegularExpression(QStringLiteral("[^0-9]"))),
              QStringLiteral("18991230"));
}

TEST(WindowTitleTest, BothLanguageFormsAreComposedWithoutExtraSeparators) {
    const QDateTime stamp(QDate(2026, 3, 4), QTime(5, 6, 8));
    const QString ts = FormatTitleTimeStamp(stamp);
    EXPECT_EQ(ts.size(), 19);
    EXPECT_TRUE(ts.startsWith(QStringLiteral("2026")));
    EXPECT_EQ(ChineseTitle(QStringLiteral("App"), QStringLiteral("1.2.3.4"), stamp),
              QStringLiteral("App   版本：1.2.3.4  最后编译于：") + ts);
    EXPECT_EQ(EnglishTitle(QStringLiteral("App"), QStringLiteral("1.2.3.4"), stamp),
              QStringLiteral("App   versions:1.2.3.4  Build at") + ts);
}

TEST_F(StartupTest, AnUnpollableAutoReadPageIsNamedOnceAndNotPolled) {
    TestConfig config;
    config.autoRead = "<GROUP_AUTO><A caption=\"站300\" protocol=\"MODBUS\" equAddr=\"300\" startReg=\"0\" "
                      "regLen=\"2\"/><B caption=\"ok\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" "
                      "regLen=\"2\"/></GROUP_AUTO>";
    dir.write(QStringLiteral("config.xml"), config.xml());
    TForm_Main form(dir.path());
    form.FormCreate();
    ASSERT_EQ(presenter.messages.size(), 1) << presenter.messages.join('\n').toStdString();
    EXPECT_TRUE(presenter.messages[0].contains(QString::fromUtf8("“站300”")))
        << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].contains("equAddr=300"));
    ASSERT_EQ(form.autoReading->pages().blocks.size(), 2);
    EXPECT_NE(form.autoReading->pages().blocks[0].pro, "MODBUS");
    EXPECT_EQ(form.autoReading->pages().blocks[1].pro, "MODBUS");
    EXPECT_EQ(form.pg_AUTO->count(), 2);
}

// A configuration the user cannot write: file and folder without write permission, or for
// root, whom permissions do not stop, a read-only file system. Null when neither can be had.
struct ReadOnlyConfig {
    explicit ReadOnlyConfig(const QByteArray& content) {
        folder = QDir(base.path()).filePath("ro");
        QDir().mkpath(folder);
        const QByteArray where = QFile::encodeName(folder);
        if (::geteuid() == 0) {
            if (::mount("tervalon-test", where.constData(), "tmpfs", 0, "size=1m") != 0)
                return;
            mounted = true;
        }
        QFile file(folder + "/config.xml");
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return;
        file.close();
        if (mounted)
            usable = ::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        else
            usable = ::chmod(QFile::encodeName(file.fileName()).constData(), 0444) == 0 &&
                     ::chmod(where.constData(), 0555) == 0;
    }
    ~ReadOnlyConfig() {
        if (mounted)
            ::umount(QFile::encodeName(folder).constData());
        else
            ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
    QTemporaryDir base;
    QString folder;
    bool mounted = false;
    bool usable = false;
};

TEST_F(StartupTest, AConfigurationThatCannotBeWrittenIsUsedReadOnlyWithOneNotice) {
    TestConfig config; // its language tables are empty: the start-up has entries to create
    ReadOnlyConfig readOnly(config.xml());
    if (!readOnly.usable)
        GTEST_SKIP() << "no way to make a file unwritable here";
    {
        TForm_Main form(readOnly.folder);
        form.FormCreate();
        ASSERT_EQ(presenter.messages.size(), 1) << presenter.messages.join('\n').toStdString();
        EXPECT_TRUE(presenter.messages[0].contains("cannot be written"))
            << presenter.messages[0].toStdString();
        EXPECT_TRUE(presenter.messages[0].contains(QString::fromUtf8("无法写入")));
        EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
        EXPECT_FALSE(form.Menu_Skins->menu()->actions().isEmpty()) << "start-up went on to the skins menu";

        form.btn_SecondLanguage->click();
        EXPECT_EQ(form.LanguageCode, "EN") << "the choice applies for the run";
        form.cbb_Port->setCurrentText("COM7");
        form.close();
    }
    EXPECT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
    QFile file(readOnly.folder + "/config.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), config.xml());
}

TEST_F(StartupTest, AChineseStartThatChangesNothingLeavesTheFileAsItIs) {
    dir.copyExample(QStringLiteral("config.xml"));
    const QByteArray file = QFile::encodeName(dir.file(QStringLiteral("config.xml")));
    {
        TForm_Main first(dir.path());
        first.FormCreate();
    }
    struct stat before {};
    ASSERT_EQ(::stat(file.constData(), &before), 0);
    const QByteArray content = dir.read(QStringLiteral("config.xml"));
    {
        TForm_Main second(dir.path());
        second.FormCreate();
        EXPECT_EQ(second.LanguageCode, "CN");
        second.close();
    }
    struct stat after {};
    ASSERT_EQ(::stat(file.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced although nothing changed";
    EXPECT_EQ(dir.read(QStringLiteral("config.xml")), content);
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
}

} // namespace
