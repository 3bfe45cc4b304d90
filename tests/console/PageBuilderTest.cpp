#include "PageBuilderFixture.h"
#include "console/AutoReading.h"
#include "console/Connection.h"

#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QString nullText = QStringLiteral("Could not convert variant of type (Null) into type (OleStr)");

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

TEST(PageBuilderTest, FillsTheFrameFromTheSimpleSections) {
    TestConfig config;
    config.language.replace("value=\"CN\"", "value=\"EN\"");
    TestWindow w(config);
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;
    EXPECT_TRUE(f.windowTitle().startsWith("Tester   版本：")) << f.windowTitle().toStdString();
    EXPECT_EQ(f.lbl_Web->toolTip(), config.web1);
    EXPECT_EQ(f.Web1Address, "https://example.com/a");
    EXPECT_EQ(f.Web2Address, "https://example.com/b");
    EXPECT_TRUE(f.connection->settingsLoaded());
    EXPECT_EQ(f.cbb_Port->currentText(), "COM3");
    EXPECT_EQ(f.cbb_Baud->currentText(), "115200");
    EXPECT_EQ(f.cbb_CheckBit->currentText(), "E");
    EXPECT_EQ(f.cbb_DataBit->currentText(), "7");
    EXPECT_EQ(f.cbb_StopBit->currentText(), "2");
    EXPECT_EQ(f.lbl_Node3->text(), "n3");
    EXPECT_EQ(f.LanguageCode, "EN");
    EXPECT_EQ(fontColor(f.grp_DYNC), QColor(0, 128, 0));
    EXPECT_EQ(f.grp_AutoRead->font().pointSize(), 12);
}

TEST(PageBuilderTest, ParameterRowsTakeTheirSlotsNamesTagsAndTooltips) {
    TestConfig config;
    config.dync =
        "<GROUP_DYNC><Main caption=\"主页\">"
        "<P1 caption=\"速度\" hint=\"转速\" addr=\"101\"/>"
        "<P2 caption=\"\" hint=\"\" addr=\"102\" type=\"HEX\"/>"
        "<Linexxx/>"
        "<P4 caption=\"c\" hint=\"h\" addr=\"104\" controlType=\"ComboBox\" type=\"HEX\" items=\"A|B|C\"/>"
        "<P5XXX caption=\"c\" hint=\"h\" addr=\"105\" controlType=\"combobox\" items=\"\"/>"
        "</Main></GROUP_DYNC>";
    TestWindow w(config);
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;

    ASSERT_EQ(f.DyncSheets.size(), 1);
    EXPECT_EQ(f.DyncSheets[0], w.find("tbs_Main"));
    EXPECT_EQ(f.pg_DYNC->tabText(0), "主页");
    EXPECT_TRUE(TForm_Main::hasPopupMenu1(f.DyncSheets[0]));

    const struct {
        const char* tag;
        int top;
        int addr;
    } rows[] = {{"P1", 10, 101}, {"P2", 35, 102}, {"P4", 85, 104}, {"P5XXX", 110, 105}};
    for (const auto& row : rows) {
        const QString tag = row.tag;
        auto* label = w.find<TStaticText>("lbl_" + tag);
        auto* read = w.find<QPushButton>("btn_Read_" + tag);
        auto* write = w.find<QPushButton>("btn_Write_" + tag);
        ASSERT_TRUE(label && read && write) << row.tag;
        EXPECT_EQ(label->geometry(), QRect(8, row.top, 150, 20));
        EXPECT_EQ(read->geometry().topLeft(), QPoint(320, row.top));
        EXPECT_EQ(write->geometry().topLeft(), QPoint(370, row.top));
        EXPECT_EQ(read->width(), 50);
        EXPECT_EQ(read->text(), "读取");
        EXPECT_EQ(write->text(), "修改");
        EXPECT_EQ(read->toolTip(), QString("$KRDV=%1#").arg(row.addr));
        EXPECT_EQ(write->toolTip(), QString("$KWRV=%1,XXXX#").arg(row.addr));
        for (QObject* c :
             {static_cast<QObject*>(label), static_cast<QObject*>(read), static_cast<QObject*>(write)})
            EXPECT_EQ(componentTag(c), row.addr) << row.tag;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_LE(read->height(), 25) << "rows would overlap";
    }
    EXPECT_EQ(w.find<QLabel>("lbl_P1")->toolTip(), "转速");
    EXPECT_EQ(w.find<QLineEdit>("edt_P1")->toolTip(), "转速");
    EXPECT_EQ(w.find<QLabel>("lbl_P2")->text(), "请点击右键设置显示内容");
    EXPECT_EQ(w.find<QLabel>("lbl_P2")->toolTip(), "请点击右键设置提示信息");
    EXPECT_EQ(w.find<QLineEdit>("edt_P2")->toolTip(), "请点击右键设置提示信息");

    // Only a HEX edit is marked; a HEX choice box and a lower-case "combobox" are not special.
    EXPECT_EQ(controlColor(w.find<QLineEdit>("edt_P2")), QColor(255, 255, 0));
    EXPECT_FALSE(controlColor(w.find<QLineEdit>("edt_P1")).isValid());
    auto* p4 = w.find<QComboBox>("cbb_P4");
    ASSERT_TRUE(p4);
    EXPECT_EQ(w.find("edt_P4"), nullptr);
    EXPECT_FALSE(controlColor(p4).isValid());
    EXPECT_EQ(comboItems(p4), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(p4->currentText(), "A");
    EXPECT_EQ(p4->geometry().topLeft(), QPoint(160, 85));
    EXPECT_EQ(componentTag(p4), 104);
    ASSERT_TRUE(w.find<QLineEdit>("edt_P5XXX"));

    // The separator: an unnamed 3-pixel panel in the third slot.
    QList<TPanel*> lines;
    for (QObject* c : f.Components.all())
        if (auto* panel = qobject_cast<TPanel*>(c); panel && panel->objectName().isEmpty())
            lines << panel;
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0]->geometry().topLeft(), QPoint(4, 64));
    EXPECT_EQ(lines[0]->height(), 3);
    EXPECT_EQ(w.find("lbl_Linexxx"), nullptr);
}

TEST(PageBuilderTest, EmptyItemsGiveOneEmptyChoiceSelected) {
    TestConfig config;
    config.dync =
        "<GROUP_DYNC><T caption=\"t\"><P caption=\"c\" hint=\"h\" addr=\"1\" controlType=\"ComboBox\" "
        "items=\"\"/></T></GROUP_DYNC>";
    TestWindow w(config);
    ASSERT_EQ(w.build(), "");
    auto* box = w.find<QComboBox>("cbb_P");
    ASSERT_TRUE(box);
    EXPECT_EQ(comboItems(box), QStringList{""});
    EXPECT_EQ(box->currentIndex(), 0);
}

TEST(PageBuilderTest, FixedAndAutoReadingRows) {
    TestConfig config;
    config.fix = "<GROUP_FIX><F caption=\"固定\"><Go caption=\"开始\" hint=\"h\" cmdStr=\"$GO=[NOW]#\"/>"
                 "<Stop caption=\"停止\" hint=\"\" cmdStr=\"$STOP#\"/></F></GROUP_FIX>";
    config.autoRead =
        "<GROUP_AUTO><A caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"40001\" "
        "regLen=\"2\"><T1 caption=\"温度\" hint=\"th\" addr=\"40001\" constA=\"-2\" constM=\"0.1\" "
        "unit=\"℃\"/></A><B caption=\"b\" protocol=\"modbus\" equAddr=\"2\" startReg=\"-3\" regLen=\"0\"/>"
        "</GROUP_AUTO>";
    TestWindow w(config);
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;

    ASSERT_EQ(f.FixSheets.size(), 1);
    EXPECT_FALSE(TForm_Main::hasPopupMenu1(f.FixSheets[0]));
    auto* stop = w.find<QPushButton>("btn_Stop");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->geometry().topLeft(), QPoint(250, 35));
    EXPECT_EQ(stop->width(), 150);
    EXPECT_EQ(stop->text(), "停止");
    EXPECT_EQ(w.find("btn_Go")->toolTip(), "$GO=[NOW]#");
    EXPECT_EQ(componentTag(stop), 0);
    EXPECT_EQ(componentTag(w.find("lbl_Stop")), -1);

    auto* value = w.find<TStaticText>("V40001");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text(), "0.00");
    EXPECT_EQ(value->toolTip(), "-2|0.1");
    EXPECT_EQ(componentTag(value), 40001);
    EXPECT_EQ(value->geometry(), QRect(160, 10, 50, 20));
    auto* unit = w.find<TStaticText>("lbl_T1_Unit");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->text(), "℃");
    EXPECT_EQ(unit->geometry(), QRect(210, 10, 50, 20));
    EXPECT_TRUE(unit->toolTip().isEmpty());

    ASSERT_EQ(f.autoReading->pages().blocks.size(), 2);
    ASSERT_EQ(f.autoReading->pages().sheets.size(), 2);
    EXPECT_EQ(f.autoReading->pages().blocks[0].pro, "MODBUS");
    EXPECT_EQ(f.autoReading->pages().blocks[0].equAddr, 1);
    EXPECT_EQ(f.autoReading->pages().blocks[0].startAddr, 40001);
    EXPECT_EQ(f.autoReading->pages().blocks[0].readSize, 2);
    EXPECT_EQ(f.autoReading->pages().blocks[1].pro, "modbus");
    EXPECT_EQ(f.autoReading->pages().blocks[1].startAddr, -3);
    EXPECT_EQ(f.pg_AUTO->tabText(1), "b");
}

TEST(PageBuilderTest, BatchButtonAndListFromCmds) {
    TestConfig config;
    config.cmds = "<CMDS showButton=\"1\" caption=\"批量\"><a caption=\"one\" CmdsStr=\"A1[100]|B2[-500]\"/>"
                  "<b caption=\"two\" CmdsStr=\"C3[0]\"/></CMDS>";
    TestWindow shown(config);
    ASSERT_EQ(shown.build(), "");
    TForm_Main& f = *shown.form;
    EXPECT_FALSE(f.btn_Cmds->isHidden());
    EXPECT_EQ(f.btn_Cmds->text(), "批量");
    EXPECT_EQ(f.btn_Cmds->geometry().topLeft(),
              QPoint(f.cmb_CMDS->x() + f.cmb_CMDS->width() + 8, f.btn_Send->y()));
    EXPECT_EQ(f.btn_Cmds->width(), 150);
    ASSERT_EQ(f.BatchCommands.size(), 2);
    EXPECT_EQ(f.BatchCommands[0].inteMss, (QList<qint32>{100, -500}));
    EXPECT_EQ(f.cmb_CMDS->count(), 2);
    EXPECT_EQ(f.cmb_CMDS->itemText(1), "two");

    config.cmds.replace("showButton=\"1\"", "showButton=\"0\"");
    TestWindow hidden(config);
    ASSERT_EQ(hidden.build(), "");
    EXPECT_TRUE(hidden.form->btn_Cmds->isHidden());
    EXPECT_EQ(hidden.form->cmb_CMDS->count(), 2);
}

TEST(PageBuilderTest, AFaultyBatchIsLeftOutAndAFaultOfTheSectionEndsOnlyTheBatchStep) {
    const struct {
        QString cmds;
        QStringList captions;
        QStringList faults;
    } rows[] = {
        // showButton without the button's caption: the whole step ends, silently.
        {QStringLiteral("<CMDS showButton=\"1\"><a caption=\"one\" CmdsStr=\"A1[1]\"/></CMDS>"), {}, {}},
        {QStringLiteral("<CMDS><a caption=\"one\" CmdsStr=\"A1[1]\"/><b caption=\"two\" "
                        "CmdsStr=\"A1[100]|\"/><c caption=\"three\" CmdsStr=\"C[1]\"/></CMDS>"),
         {"one", "three"},
         {"two"}},
        {QStringLiteral("<CMDS><a caption=\"one\" CmdsStr=\"A1[1]\"/><b CmdsStr=\"B[1]\"/></CMDS>"),
         {"one"},
         {"<b>"}},
        {QStringLiteral(""), {}, {}},
    };
    for (const auto& row : rows) {
        TestConfig config;
        config.cmds = row.cmds;
        config.fix = "<GROUP_FIX><F caption=\"f\"><Go caption=\"g\" hint=\"\" cmdStr=\"x\"/></F></GROUP_FIX>";
        TestWindow w(config);
        EXPECT_EQ(w.build(), "") << row.cmds.toStdString();
        EXPECT_TRUE(w.find("btn_Go")) << "the build must go on after the batches";
        EXPECT_TRUE(w.form->btn_Cmds->isHidden());
        QStringList shown, faults;
        for (int i = 0; i < w.form->cmb_CMDS->count(); ++i)
            shown << w.form->cmb_CMDS->itemText(i);
        for (const BatchFault& fault : w.form->BatchFaults)
            faults << fault.name;
        EXPECT_EQ(shown, row.captions) << row.cmds.toStdString();
        EXPECT_EQ(w.form->BatchCommands.size(), row.captions.size());
        EXPECT_EQ(faults, row.faults) << row.cmds.toStdString();
    }
}

struct Clash {
    const char* name;
    const char* dync;
    const char* fix;
    const char* autoRead;
    const char* error;
};

class PageBuilderClashTest : public testing::TestWithParam<Clash> {};

TEST_P(PageBuilderClashTest, StopsTheBuildNamingTheControl) {
    const Clash& c = GetParam();
    TestConfig config;
    config.dync = QString("<GROUP_DYNC>%1</GROUP_DYNC>").arg(c.dync);
    config.fix = QString("<GROUP_FIX>%1</GROUP_FIX>").arg(c.fix);
    config.autoRead = QString("<GROUP_AUTO>%1</GROUP_AUTO>").arg(c.autoRead);
    TestWindow w(config);
    EXPECT_EQ(w.build(), QString::fromUtf8(c.error));
}

#define ROW(tag) "<" tag " caption=\"c\" hint=\"h\" addr=\"7\"/>"
#define COMBO(tag) "<" tag " caption=\"c\" hint=\"h\" addr=\"7\" controlType=\"ComboBox\" items=\"a\"/>"
#define FIXED(tag) "<" tag " caption=\"c\" hint=\"h\" cmdStr=\"x\"/>"
#define AUTO(tag, addr)                                                                                      \
    "<" tag " caption=\"c\" hint=\"h\" addr=\"" addr "\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
#define AUTOTAB(name, rows)                                                                                  \
    "<" name " caption=\"a\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"1\" regLen=\"1\">" rows "</" name  \
    ">"

INSTANTIATE_TEST_SUITE_P(
    Names, PageBuilderClashTest,
    testing::Values(Clash{"SameItemTwice", "<T caption=\"t\">" ROW("P") ROW("P") "</T>", "", "",
                          "A component named lbl_P already exists"},
                    Clash{"ItemNamesIgnoreCase", "<T caption=\"t\">" ROW("P") ROW("p") "</T>", "", "",
                          "A component named lbl_p already exists"},
                    Clash{"ItemInTwoFamilies", "<T caption=\"t\">" ROW("P") "</T>",
                          "<F caption=\"f\">" FIXED("P") "</F>", "",
                          "A component named lbl_P already exists"},
                    Clash{"TabInTwoFamilies", "<T caption=\"t\"/>", "", AUTOTAB("T", ""),
                          "A component named tbs_T already exists"},
                    Clash{"FixedButtonAndReadButton", "<T caption=\"t\">" ROW("P1") "</T>",
                          "<F caption=\"f\">" FIXED("Read_P1") "</F>", "",
                          "A component named btn_Read_P1 already exists"},
                    Clash{"AutoRowsSameAddr", "", "", AUTOTAB("A", AUTO("X", "40001") AUTO("Y", "40001")),
                          "A component named V40001 already exists"},
                    Clash{"TemplateLabel", "<T caption=\"t\">" ROW("Node2") "</T>", "", "",
                          "A component named lbl_Node2 already exists"},
                    Clash{"TemplateLabelFromAuto", "", "", AUTOTAB("A", AUTO("Web", "1")),
                          "A component named lbl_Web already exists"},
                    Clash{"TemplateButton", "", "<F caption=\"f\">" FIXED("ClearRxmmo") "</F>", "",
                          "A component named btn_ClearRxmmo already exists"},
                    Clash{"TemplateLanguageButton", "", "<F caption=\"f\">" FIXED("SecondLanguage") "</F>",
                          "", "A component named btn_SecondLanguage already exists"},
                    Clash{"TemplateEdit", "<T caption=\"t\">" ROW("AutoReadInte") "</T>", "", "",
                          "A component named edt_AutoReadInte already exists"},
                    Clash{"TemplateComboBox", "<T caption=\"t\">" COMBO("StopBit") "</T>", "", "",
                          "A component named cbb_StopBit already exists"},
                    Clash{"NotAnIdentifier", "<T caption=\"t\">" ROW("P-1") "</T>", "", "",
                          "Component name \"lbl_P-1\" is not a valid identifier"}),
    [](const testing::TestParamInfo<Clash>& info) { return std::string(info.param.name); });

TEST(PageBuilderTest, FailuresStopTheBuildKeepingWhatWasBuilt) {
    const struct {
        const char* dync;
        const char* error; // nullptr: the absent-attribute error
        const char* lastBuilt;
        const char* notBuilt;
    } cases[] = {
        // The address is converted before the row's label exists, and the item is named: the
        // lookups pass over it, so this is where the user learns of it.
        {"<T caption=\"t\">" ROW("A") "<B caption=\"c\" hint=\"h\" addr=\"12a\"/></T>",
         "'12a' is not a valid integer value\nconfig.xml 中参数 T/B 的地址（addr）不是整数。", "btn_Write_A",
         "lbl_B"},
        {"<T caption=\"t\">" ROW("A") "<B caption=\"c\" hint=\"h\" addr=\"\"/></T>",
         "'' is not a valid integer value\nconfig.xml 中参数 T/B 的地址（addr）不是整数。", "btn_Write_A",
         "lbl_B"},
        {"<T caption=\"t\">" ROW("A") "<B hint=\"h\" addr=\"2\"/></T>", nullptr, "lbl_B", "edt_B"},
        {"<T caption=\"t\">" ROW("A") "<B caption=\"\" addr=\"2\"/></T>", nullptr, "lbl_B", "edt_B"},
        {"<T caption=\"t\">" ROW("A") "<B caption=\"c\" hint=\"h\" addr=\"2\" controlType=\"ComboBox\"/></T>",
         nullptr, "cbb_B", "btn_Read_B"},
        {"<T>" ROW("A") "</T>", nullptr, "tbs_T", "lbl_A"},
    };
    for (const auto& c : cases) {
        TestConfig config;
        config.dync = QString("<GROUP_DYNC>%1</GROUP_DYNC>").arg(c.dync);
        config.fix = "<GROUP_FIX><F caption=\"f\">" FIXED("Later") "</F></GROUP_FIX>";
        TestWindow w(config);
        EXPECT_EQ(w.build(), c.error ? QString::fromUtf8(c.error) : nullText) << c.dync;
        EXPECT_TRUE(w.find(c.lastBuilt)) << c.dync;
        EXPECT_FALSE(w.find(c.notBuilt)) << c.dync;
        EXPECT_FALSE(w.find("btn_Later")) << c.dync;
    }

    TestConfig english;
    english.language.replace("value=\"CN\"", "value=\"EN\"");
    english.dync =
        "<GROUP_DYNC><Pg caption=\"t\"><Sepxxx/><B caption=\"c\" hint=\"h\" addr=\"1q\"/></Pg></GROUP_DYNC>";
    EXPECT_EQ(
        TestWindow(english).build(),
        "'1q' is not a valid integer value\nThe parameter Pg/B in config.xml has no integer address (addr).");
}

TEST(PageBuilderTest, AutoReadingIntegersAndTextsAreChecked) {
    const struct {
        const char* tab;
        QString error;
    } cases[] = {
        {AUTOTAB("A", AUTO("X", "4x")), "'4x' is not a valid integer value"},
        {"<A caption=\"a\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"1\" regLen=\"two\"/>",
         "'two' is not a valid integer value"},
        {"<A caption=\"a\" equAddr=\"1\" startReg=\"1\" regLen=\"1\"/>", nullText},
        {"<A caption=\"a\" protocol=\"\" equAddr=\"1\" startReg=\"1\" regLen=\"1\">"
         "<X caption=\"c\" hint=\"h\" addr=\"5\" constA=\"0\" constM=\"1\"/></A>",
         nullText},
    };
    for (const auto& c : cases) {
        TestConfig config;
        config.autoRead = QString("<GROUP_AUTO>%1</GROUP_AUTO>").arg(c.tab);
        TestWindow w(config);
        EXPECT_EQ(w.build(), c.error) << c.tab;
        EXPECT_EQ(w.form->autoReading->pages().sheets.size(), w.form->autoReading->pages().blocks.size())
            << "sheets and records stay aligned";
    }
}

TEST(PageBuilderTest, SectionAndRootProblemsNameWhatIsWrong) {
    TestConfig config;
    config.fix.clear();
    EXPECT_EQ(TestWindow(config).build(), "The configuration file has no element TERVALON/GROUP_FIX");

    config = TestConfig();
    config.skin = "<SKIN SkinFile=\"Nope\"/>";
    TestWindow badSkin(config);
    EXPECT_EQ(badSkin.build(), "Style 'Nope' not found");
    EXPECT_EQ(badSkin.form->cbb_Port->currentText(), "COM1") << "the build stopped before the port step";

    config = TestConfig();
    config.skin = "<SKIN SkinFile=\"aMaKrItS\"/>";
    EXPECT_EQ(TestWindow(config).build(), "");

    config = TestConfig();
    config.web2 = "";
    EXPECT_NE(TestWindow(config).build(), "") << "an empty scrambled address is no valid text";

    EXPECT_EQ(TestWindow(QByteArray("<OTHER/>")).build(), "The configuration file has no element TERVALON");

    // The first of two sections of one name wins, whatever the order of the sections.
    config = TestConfig();
    config.comm += "<COMM Port=\"COM9\" Baud=\"1\" Parity=\"N\" ByteSize=\"8\" StopBits=\"1\"/>";
    std::swap(config.comm, config.dync);
    TestWindow reordered(config);
    EXPECT_EQ(reordered.build(), "");
    EXPECT_EQ(reordered.form->cbb_Port->currentText(), "COM3");
}

TEST(PageBuilderTest, StartUpShowsABuildErrorAndRunsNothingAfterIt) {
    TestConfig config;
    config.language.replace("value=\"CN\"", "value=\"EN\"");
    config.autoRead =
        "<GROUP_AUTO><A caption=\"a\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"1\" regLen=\"x\"/>"
        "</GROUP_AUTO>";
    TestWindow w(config);
    w.form->FormCreate();
    ASSERT_EQ(w.presenter.errors.size(), 1);
    // The error as it always read, then where the value is and that the file stays untouched.
    const QStringList lines = w.presenter.errors[0].split('\n');
    EXPECT_EQ(lines.value(0), "'x' is not a valid integer value");
    EXPECT_TRUE(lines.value(1).contains("attribute regLen of element TERVALON/GROUP_AUTO/A"))
        << w.presenter.errors[0].toStdString();
    EXPECT_TRUE(lines.value(2).contains("will not be written")) << w.presenter.errors[0].toStdString();
    // The language was never applied, so the title keeps its Chinese form.
    EXPECT_TRUE(w.form->windowTitle().contains("版本：")) << w.form->windowTitle().toStdString();
    EXPECT_EQ(w.form->pg_AUTO->count(), 1);
}

} // namespace
