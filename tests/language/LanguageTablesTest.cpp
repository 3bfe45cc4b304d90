#include "console/ItemLookupIndex.h"
#include "console/PageBuilderFixture.h"
#include "console/Connection.h"
#include "console/TrendReading.h"

#include "console/PortList.h"
#include "language/ControlSettingFrm.h"
#include "trend/TrendWindow.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// A small window: one parameter page with a choice box and an edit, one fixed command, one
// value display.
TestConfig smallConfig(const QString& code = "CN") {
    TestConfig config;
    config.language =
        QString("<LANGUAGE value=\"%1\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/><EDIT/>"
                "<COMBOBOX/><CHECKBOX/></COMPONETS><MESSAGES><MSG_OTHER strCN=\"x\" strEN=\"x\"/>"
                "<MSG_BTN_UNCONNECT strCN=\"断开端口\" strEN=\"Disconnect\"/></MESSAGES></LANGUAGE>")
            .arg(code);
    config.dync =
        "<GROUP_DYNC><Dev caption=\"设备\"><Pw caption=\"电源\" hint=\"电源开关\" addr=\"5\" "
        "controlType=\"ComboBox\" items=\"关|开\" itemsValue=\"0|1\"/><Sp caption=\"速度\" hint=\"\" "
        "addr=\"6\"/></Dev></GROUP_DYNC>";
    config.fix = "<GROUP_FIX><Fx caption=\"固定\"><Go caption=\"开始\" hint=\"启动\" "
                 "cmdStr=\"$GO#\"/></Fx></GROUP_FIX>";
    config.autoRead = "<GROUP_AUTO><Au caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"40001\" "
                      "regLen=\"1\"><T caption=\"温度\" hint=\"\" addr=\"40001\" constA=\"0\" constM=\"0.1\" "
                      "unit=\"℃\"/></Au></GROUP_AUTO>";
    return config;
}

struct Started : TestWindow {
    explicit Started(const TestConfig& config) : TestWindow(config) { form->FormCreate(); }
    explicit Started(const QByteArray& xml) : TestWindow(xml) { form->FormCreate(); }

    // The saved entry element of a control, as one line of the file.
    QString entryLine(const QString& name) const {
        const QString text = QString::fromUtf8(dir.read("config.xml"));
        const QRegularExpression line("^\\s*(<\\w+ name=\"" + QRegularExpression::escape(name) +
                                          "\"[^\\n]*)$",
                                      QRegularExpression::MultilineOption);
        return line.match(text).captured(1);
    }
    QStringList entryNames(const QString& group) const {
        const XmlDocument doc = XmlDocument::openForWriting(form->ConfigPath);
        const XmlNode g = doc.findRoot().findChild("LANGUAGE").findChild("COMPONETS").findChild(group);
        QStringList names;
        for (int i = 0; i < g.childCount(); ++i)
            names << g.child(i).readAttribute("name");
        return names;
    }
};

TEST(LanguageTablesTest, AChineseStartCreatesAnEntryForEveryControl) {
    Started w(smallConfig());
    ASSERT_EQ(w.presenter.messages, QStringList());
    const QString rcs = "Right click to set";

    EXPECT_EQ(w.entryLine("grp_COMPort"),
              QString("<GROUPBOX_LAN name=\"grp_COMPort\" captionCN=\"连接\" hintCN=\"\" "
                      "captionEN=\"Connection\" hintEN=\"%1\" />")
                  .arg(rcs));
    EXPECT_EQ(
        w.entryLine("tbs_Dev"),
        QString(
            "<TABSHEET_LAN name=\"tbs_Dev\" captionCN=\"设备\" hintCN=\"\" captionEN=\"%1\" hintEN=\"%1\" />")
            .arg(rcs));
    EXPECT_EQ(w.entryLine("btn_Read_Pw"),
              "<BUTTON_LAN name=\"btn_Read_Pw\" captionCN=\"读取\" hintCN=\"$KRDV=5#\" "
              "captionEN=\"READ\" hintEN=\"$KRDV=5#\" />");
    EXPECT_EQ(w.entryLine("btn_Write_Sp"),
              "<BUTTON_LAN name=\"btn_Write_Sp\" captionCN=\"修改\" "
              "hintCN=\"$KWRV=6,XXXX#\" captionEN=\"WRITE\" hintEN=\"$KWRV=6,XXXX#\" />");
    EXPECT_EQ(w.entryLine("btn_Go"), QString("<BUTTON_LAN name=\"btn_Go\" captionCN=\"开始\" hintCN=\"$GO#\" "
                                             "captionEN=\"%1\" hintEN=\"$GO#\" />")
                                         .arg(rcs));
    EXPECT_EQ(w.entryLine("btn_Cmds"), QString("<BUTTON_LAN name=\"btn_Cmds\" captionCN=\"\" hintCN=\"\" "
                                               "captionEN=\"%1\" hintEN=\"\" />")
                                           .arg(rcs));
    EXPECT_EQ(w.entryLine("lbl_Port"),
              "<LABEL_LAN name=\"lbl_Port\" captionCN=\"端口：\" hintCN=\"\" captionEN=\"Port:\" />");
    EXPECT_EQ(
        w.entryLine("lbl_Sp"),
        QString(
            "<LABEL_LAN name=\"lbl_Sp\" captionCN=\"速度\" "
            "hintCN=\"请点击右键设置提示信息\" captionEN=\"%1\" hintEN=\"Right-click to set the hint\" />")
            .arg(rcs));
    EXPECT_EQ(
        w.entryLine("V40001"),
        "<LABEL_LAN name=\"V40001\" captionCN=\"0.00\" hintCN=\"0|0.1\" captionEN=\"0\" hintEN=\"0|0.1\" />");
    EXPECT_EQ(w.entryLine("edt_Sp"), "<EDIT_LAN name=\"edt_Sp\" hintCN=\"请点击右键设置提示信息\" "
                                     "hintEN=\"Right-click to set the hint\" />");
    EXPECT_EQ(w.entryLine("cbb_Pw"),
              QString("<COMBOBOX_LAN name=\"cbb_Pw\" hintCN=\"电源开关\" hintEN=\"%1\" "
                      "itemsCN=\"关|开\" itemsEN=\"关|开\" />")
                  .arg(rcs));
    EXPECT_EQ(
        w.entryLine("cmb_CMDS"),
        QString("<COMBOBOX_LAN name=\"cmb_CMDS\" hintCN=\"\" hintEN=\"%1\" itemsCN=\"\" itemsEN=\"\" />")
            .arg(rcs));
    EXPECT_EQ(w.entryLine("chk_showDT"),
              QString("<CHECKBOX_LAN name=\"chk_showDT\" captionCN=\"显示时间\" hintCN=\"\" "
                      "captionEN=\"Show time\" hintEN=\"%1\" />")
                  .arg(rcs));
    // The program's own controls come with their built-in texts of both languages.
    EXPECT_EQ(w.entryLine("btn_Trend"),
              "<BUTTON_LAN name=\"btn_Trend\" captionCN=\"趋势图\" hintCN=\"自动读取数值随时间的曲线\" "
              "captionEN=\"Trend\" hintEN=\"The automatically read values over time\" />");
    EXPECT_EQ(
        w.entryLine("chk_SessionLog"),
        "<CHECKBOX_LAN name=\"chk_SessionLog\" captionCN=\"记录会话到文件\" "
        "hintCN=\"把收发的每一块数据记录到配置文件旁 logs 文件夹中的文件\" captionEN=\"Log session to file\" "
        "hintEN=\"Record every block sent and received in a file in the logs folder beside config.xml\" />");
    EXPECT_EQ(w.entryLine("cms_ReadPage"),
              "<BUTTON_LAN name=\"cms_ReadPage\" captionCN=\"读取本页\" hintCN=\"逐个读取本页的全部参数\" "
              "captionEN=\"Read page\" hintEN=\"Read every parameter of this page\" />");
    EXPECT_EQ(w.entryLine("chk_TrendPause"), "<CHECKBOX_LAN name=\"chk_TrendPause\" captionCN=\"暂停\" "
                                             "hintCN=\"\" captionEN=\"Pause\" hintEN=\"" +
                                                 rcs + "\" />");
    EXPECT_EQ(w.entryLine("rbtn_Ascii"), "") << "radio buttons get no entry";
    EXPECT_EQ(w.entryLine("Panel_Top"), "");

    // Template controls first, in template order, then the generated ones in creation order.
    const QStringList labels = w.entryNames("LABEL");
    EXPECT_EQ(labels.first(), "lbl_Web");
    EXPECT_EQ(labels.mid(labels.indexOf("lbl_Pw")),
              (QStringList{"lbl_Pw", "lbl_Sp", "lbl_Go", "lbl_T", "V40001", "lbl_T_Unit"}));
    EXPECT_EQ(w.entryNames("BUTTON"), (QStringList{"btn_Skins",
                                                   "btn_FirstLanguage",
                                                   "btn_SecondLanguage",
                                                   "btn_Connect",
                                                   "btn_ClearRxmmo",
                                                   "btn_OpenLogs",
                                                   "btn_SaveRx",
                                                   "btn_Send",
                                                   "btn_Cmds",
                                                   "cms_ReadPage",
                                                   "cms_ReadAll",
                                                   "cms_Cancel",
                                                   "cms_SaveSnapshot",
                                                   "cms_LoadSnapshot",
                                                   "cms_Compare",
                                                   "cms_WriteSnapshot",
                                                   "btn_Trend",
                                                   "btn_TrendExport",
                                                   "btn_Read_Pw",
                                                   "btn_Write_Pw",
                                                   "btn_Read_Sp",
                                                   "btn_Write_Sp",
                                                   "btn_Go"}));

    // Chinese texts stay; the connect captions are known.
    EXPECT_EQ(w.form->connection->connectCaption(), "连接端口");
    EXPECT_EQ(w.form->connection->disconnectCaption(), "断开端口");
}

TEST(LanguageTablesTest, ThePortBoxEntryKeepsOnlyConfiguredPortNames) {
    TestWindow w(smallConfig());
    addDetectedPort(w.form->cbb_Port, "/dev/ttyUSB9", "USB serial");
    w.form->FormCreate();
    QStringList ports;
    for (int i = 1; i <= 16; ++i)
        ports << QString("COM%1").arg(i);
    const QString configured = ports.join('|');
    const XmlDocument doc = XmlDocument::openForWriting(w.form->ConfigPath);
    const XmlNode entry = TForm_ControlSetting::findEntry(
        doc.findRoot().findChild("LANGUAGE").findChild("COMPONETS").findChild("COMBOBOX"), "cbb_Port");
    EXPECT_EQ(entry.readAttribute("itemsCN"), configured) << "no path of this machine is stored";
    EXPECT_EQ(entry.readAttribute("itemsEN"), configured);
}

TEST(LanguageTablesTest, SwitchingChangesTheWholeWindowBothWays) {
    Started w(smallConfig());
    TForm_Main& f = *w.form;
    TForm_ControlSetting editor;
    Form_ControlSetting = &editor;
    f.cbb_Baud->setCurrentText("1200");
    f.cbb_Port->setCurrentText("/dev/ttyUSB3");
    auto* power = w.find<QComboBox>("cbb_Pw");
    power->setCurrentIndex(1);

    f.btn_SecondLanguage->click();
    EXPECT_EQ(f.LanguageCode, "EN");
    EXPECT_TRUE(w.dir.read("config.xml").contains("<LANGUAGE value=\"EN\">"));
    EXPECT_TRUE(f.windowTitle().startsWith("Tester   versions:")) << f.windowTitle().toStdString();
    EXPECT_TRUE(f.windowTitle().contains("  Build at2")) << "no blank after \"at\"";
    EXPECT_EQ(editor.windowTitle(), "Control displays content Settings");
    EXPECT_EQ(f.grp_COMPort->title(), "Connection");
    EXPECT_EQ(f.pg_DYNC->tabText(0), "Right click to set") << "the configuration's own page: a placeholder";
    EXPECT_EQ(f.btn_Connect->text(), "Connect");
    EXPECT_EQ(f.connection->connectCaption(), "Connect");
    EXPECT_EQ(f.connection->disconnectCaption(), "Disconnect");
    EXPECT_EQ(w.find<QPushButton>("btn_Read_Pw")->text(), "READ");
    EXPECT_EQ(w.find<QPushButton>("btn_Go")->toolTip(), "$GO#");
    EXPECT_EQ(w.find<QLabel>("V40001")->text(), "0");
    EXPECT_EQ(w.find<QLabel>("lbl_Pw")->text(), "Right click to set");
    EXPECT_EQ(w.find<QLabel>("lbl_Pw")->toolTip(), "电源开关") << "English leaves label tooltips alone";
    EXPECT_EQ(w.find<QLineEdit>("edt_Sp")->toolTip(), "Right-click to set the hint");
    EXPECT_EQ(f.rbtn_Hex->text(), "Hex") << "no entry: the built-in text";
    EXPECT_EQ(f.cbb_Baud->currentText(), "1200") << "port boxes keep the user's choices";
    EXPECT_EQ(f.cbb_Port->currentText(), "/dev/ttyUSB3");
    EXPECT_EQ(f.cbb_CheckBit->currentText(), "E");
    EXPECT_EQ(power->currentIndex(), 1) << "a choice keeps its position";
    EXPECT_EQ(f.chk_SessionLog->text(), "Log session to file");
    EXPECT_EQ(f.trendReading->window()->windowTitle(), "Trend");

    f.btn_FirstLanguage->click();
    EXPECT_EQ(f.LanguageCode, "CN");
    EXPECT_TRUE(f.windowTitle().startsWith("Tester   版本："));
    EXPECT_EQ(editor.windowTitle(), "控件显示内容设置");
    EXPECT_EQ(f.trendReading->window()->windowTitle(), "趋势图");
    EXPECT_EQ(f.grp_COMPort->title(), "连接");
    EXPECT_EQ(w.find<QPushButton>("btn_Read_Pw")->text(), "读取");
    EXPECT_EQ(f.connection->disconnectCaption(), "断开端口");
    EXPECT_EQ(power->currentText(), "开");
    EXPECT_EQ(f.cbb_Baud->currentText(), "1200");
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
    Form_ControlSetting = nullptr;
}

TEST(LanguageTablesTest, EnglishPlaceholdersAndEmptyCaptions) {
    TestConfig config = smallConfig("EN");
    config.language.replace("<GROUPBOX/>",
                            "<GROUPBOX><G name=\"grp_Node\" captionEN=\"\" hintEN=\"h\"/></GROUPBOX>");
    config.language.replace("<LABEL/>",
                            "<LABEL><L name=\"lbl_Port\" captionEN=\"\"/><L captionEN=\"no name\"/></LABEL>");
    config.language.replace("<COMBOBOX/>", "<COMBOBOX><C name=\"cbb_Pw\" hintEN=\"\" itemsEN=\"\"/><C "
                                           "name=\"cbb_Pw\" hintEN=\"second\" itemsEN=\"x|y\"/></COMBOBOX>");
    Started w(config);
    const QByteArray before = w.dir.read("config.xml");
    TForm_Main& f = *w.form;
    EXPECT_EQ(f.grp_Node->title(), "right-click to set");
    EXPECT_EQ(f.grp_Node->toolTip(), "h");
    EXPECT_EQ(f.lbl_Port->text(), "") << "a label's empty caption stays empty";
    auto* box = w.find<QComboBox>("cbb_Pw");
    ASSERT_EQ(box->count(), 1) << "only the first entry of a name counts";
    EXPECT_EQ(box->itemText(0), "");
    EXPECT_EQ(box->currentIndex(), 0);
    // No entries were created in English and nothing was saved; without an entry for the
    // connect button it shows its built-in caption.
    EXPECT_EQ(w.dir.read("config.xml"), before);
    EXPECT_EQ(w.entryLine("grp_COMPort"), "");
    EXPECT_EQ(f.connection->connectCaption(), "");
    EXPECT_EQ(f.connection->disconnectCaption(), "Disconnect");
    EXPECT_EQ(f.btn_Connect->text(), "Connect");
}

TEST(LanguageTablesTest, ALowerCaseCodeMeansChineseWithoutCreatingEntries) {
    Started w(smallConfig("cn"));
    EXPECT_EQ(w.entryLine("grp_COMPort"), "");
    EXPECT_TRUE(w.form->windowTitle().contains("版本："));
}

TEST(LanguageTablesTest, TheNextChineseStartKeepsEditedTextsAndFillsInMissingOnes) {
    QByteArray xml;
    {
        Started first(smallConfig());
        xml = first.dir.read("config.xml");
    }
    // grp_Node: caption edited only; grp_FIX: caption and tooltip edited; btn_Go: its command
    // edited only; cbb_Pw: items only; chk_showDT: its tooltip missing.
    xml.replace("name=\"grp_Node\" captionCN=\"使用说明\"", "name=\"grp_Node\" captionCN=\"说明\"");
    xml.replace("name=\"grp_FIX\" captionCN=\"固定指令\" hintCN=\"\"",
                "name=\"grp_FIX\" captionCN=\"固定\" hintCN=\"提示\"");
    xml.replace("name=\"btn_Go\" captionCN=\"开始\" hintCN=\"$GO#\"",
                "name=\"btn_Go\" captionCN=\"开始\" hintCN=\"$GO=2#\"");
    xml.replace("itemsCN=\"关|开\" itemsEN=\"关|开\"", "itemsCN=\"停|转\" itemsEN=\"Off|On\"");
    xml.replace("name=\"chk_showDT\" captionCN=\"显示时间\" hintCN=\"\"",
                "name=\"chk_showDT\" captionCN=\"显示时间\"");
    Started second(xml);
    EXPECT_TRUE(second.entryLine("grp_Node").contains("captionCN=\"说明\" hintCN=\"\""));
    EXPECT_EQ(second.form->grp_Node->title(), "说明");
    EXPECT_TRUE(second.entryLine("grp_FIX").contains("captionCN=\"固定\" hintCN=\"提示\""));
    EXPECT_EQ(second.form->grp_FIX->title(), "固定");
    EXPECT_EQ(second.form->grp_FIX->toolTip(), "提示");
    EXPECT_TRUE(second.entryLine("btn_Go").contains("hintCN=\"$GO=2#\""));
    EXPECT_EQ(second.find("btn_Go")->toolTip(), "$GO=2#");
    // The choice box's list comes from the table at build time, so the table's edited list stays.
    EXPECT_TRUE(second.entryLine("cbb_Pw").contains("itemsCN=\"停|转\" itemsEN=\"Off|On\""));
    EXPECT_EQ(second.find<QComboBox>("cbb_Pw")->itemText(1), "转");
    EXPECT_EQ(ItemLookupIndex::of(second.form->ConfigPath)->itemByValue(5, "1", second.form->language()),
              "转");
    EXPECT_TRUE(second.entryLine("chk_showDT").contains("captionCN=\"显示时间\" captionEN="));
    EXPECT_TRUE(second.entryLine("chk_showDT").contains("hintCN=\"\""));
    EXPECT_TRUE(second.presenter.messages.isEmpty()) << second.presenter.messages.join('\n').toStdString();
}

TEST(LanguageTablesTest, ARefreshFillsInOnlyTheEntriesOfKindsItCanCompare) {
    QByteArray xml;
    {
        Started first(smallConfig());
        xml = first.dir.read("config.xml");
    }
    // Each entry loses its Chinese tooltip.
    auto dropHint = [&](const char* name) {
        const QRegularExpression hint(QString("(name=\"%1\"[^\n]*?) hintCN=\"[^\"]*\"").arg(name));
        const QString text = QString::fromUtf8(xml);
        ASSERT_TRUE(text.contains(hint)) << name;
        xml = QString(text).replace(hint, "\\1").toUtf8();
    };
    dropHint("cbb_Pw");   // a parameter's box whose items agree with its parameter
    dropHint("cbb_Port"); // a template box: no configured list to compare with
    dropHint("edt_Sp");   // an edit: only ever compared, never filled in
    dropHint("lbl_Sp");   // a label whose caption agrees
    Started second(xml);

    EXPECT_TRUE(second.entryLine("cbb_Pw").contains("hintCN=\"电源开关\""));
    EXPECT_TRUE(second.entryLine("lbl_Sp").contains("hintCN=\"请点击右键设置提示信息\""));
    EXPECT_FALSE(second.entryLine("cbb_Port").contains("hintCN="));
    EXPECT_FALSE(second.entryLine("edt_Sp").contains("hintCN="));
    // The entries left without a tooltip are the gaps the language pass then names.
    ASSERT_EQ(second.presenter.messages.size(), 1);
    EXPECT_TRUE(second.presenter.messages[0].contains("COMBOBOX name=\"cbb_Port\": hintCN"));
    EXPECT_TRUE(second.presenter.messages[0].contains("EDIT name=\"edt_Sp\": hintCN"));
    EXPECT_FALSE(second.presenter.messages[0].contains("cbb_Pw"));
}

TEST(LanguageTablesTest, GapsLeaveTheirEntriesAsTheyAreAndAreNamedOncePerSession) {
    // btn_Send's entry lacks its Chinese tooltip; entries after it still apply.
    TestConfig config = smallConfig("CN");
    config.language.replace("value=\"CN\"", "value=\"cn\"");
    config.language.replace("<GROUPBOX/>",
                            "<GROUPBOX><G name=\"grp_COMPort\" captionCN=\"端口\" hintCN=\"\"/></GROUPBOX>");
    config.language.replace("<BUTTON/>", "<BUTTON><B name=\"btn_Connect\" captionCN=\"打开\" hintCN=\"\"/>"
                                         "<B name=\"btn_Send\" captionCN=\"送\"/></BUTTON>");
    config.language.replace("<CHECKBOX/>",
                            "<CHECKBOX><C name=\"chb_AutoRead\" captionCN=\"读\" hintCN=\"\"/></CHECKBOX>");
    Started w(config);
    TForm_Main& f = *w.form;
    EXPECT_EQ(f.grp_COMPort->title(), "端口");
    EXPECT_EQ(f.btn_Connect->text(), "打开");
    EXPECT_EQ(f.btn_Send->text(), "发送") << "the entry with a gap is left as it is";
    EXPECT_EQ(f.chb_AutoRead->text(), "读") << "created after btn_Send";
    EXPECT_EQ(f.connection->disconnectCaption(), "断开端口");
    ASSERT_EQ(w.presenter.messages.size(), 1);
    EXPECT_EQ(w.presenter.messages[0],
              "config.xml 的语言表缺少以下内容，相关控件显示程序自带的文字或保留原有文字：\n"
              "BUTTON name=\"btn_Send\": hintCN");

    // English: every entry lacks its English texts; the first five are named, then the count.
    f.btn_SecondLanguage->click();
    ASSERT_EQ(w.presenter.messages.size(), 2);
    EXPECT_EQ(w.presenter.messages[1],
              "The language table in config.xml lacks the following; the controls concerned show their "
              "built-in texts or keep the ones they had:\nGROUPBOX name=\"grp_COMPort\": captionEN\nGROUPBOX "
              "name=\"grp_COMPort\": hintEN\n"
              "BUTTON name=\"btn_Connect\": captionEN\nBUTTON name=\"btn_Connect\": hintEN\n"
              "BUTTON name=\"btn_Send\": captionEN\nand 3 more");
    EXPECT_EQ(f.grp_COMPort->title(), "Connection") << "lacking English: the built-in text";
    EXPECT_EQ(f.connection->disconnectCaption(), "Disconnect");

    // The same gaps again are not named again.
    f.btn_FirstLanguage->click();
    f.btn_SecondLanguage->click();
    EXPECT_EQ(w.presenter.messages.size(), 2);

    // Without appName the title has no name, the texts still apply and the gap is named.
    QByteArray xml = w.dir.read("config.xml");
    xml.replace("appName=\"Tester\" ", "");
    xml.replace("captionCN=\"端口\"", "captionCN=\"端口2\"");
    xml.replace("value=\"EN\"", "value=\"CN\"");
    w.dir.write("config.xml", xml);
    f.SetLanguage();
    EXPECT_EQ(f.grp_COMPort->title(), "端口2");
    EXPECT_TRUE(f.windowTitle().startsWith("   版本："));
    ASSERT_EQ(w.presenter.messages.size(), 3);
    EXPECT_TRUE(w.presenter.messages[2].endsWith("\nTERVALON: appName"));

    // A missing section still ends the pass, and is named.
    xml.replace("<MESSAGES>", "<MESSAGES_GONE>").replace("</MESSAGES>", "</MESSAGES_GONE>");
    w.dir.write("config.xml", xml);
    f.SetLanguage();
    ASSERT_EQ(w.presenter.messages.size(), 4);
    EXPECT_TRUE(w.presenter.messages[3].endsWith(
        "\nThe configuration file has no element TERVALON/LANGUAGE/MESSAGES"));

    // A missing file is the caller's error.
    QFile::remove(f.ConfigPath);
    EXPECT_THROW(f.SetLanguage(), AppError);
}

TEST(LanguageTablesTest, AmpersandsInCaptionsShowAsWritten) {
    // Qt shows "&&" in these widgets as one "&" and takes a single "&" as a shortcut marker.
    TestConfig config = smallConfig("EN");
    config.dync.replace("caption=\"设备\"", "caption=\"Limits &amp; offsets\"");
    config.dync.replace("caption=\"速度\"", "caption=\"Speed &amp;&amp; feed\"");
    config.fix.replace("caption=\"开始\"", "caption=\"Start &amp;&amp; run\"");
    config.language.replace("<GROUPBOX/>", "<GROUPBOX><G name=\"grp_COMPort\" captionEN=\"Port &amp; line\" "
                                           "hintEN=\"\"/></GROUPBOX>");
    Started w(config);
    TForm_Main& f = *w.form;
    EXPECT_EQ(f.pg_DYNC->tabText(0), "Limits && offsets");
    EXPECT_TRUE(QKeySequence::mnemonic(f.pg_DYNC->tabText(0)).isEmpty()) << "no shortcut";
    EXPECT_EQ(w.find<QPushButton>("btn_Go")->text(), "Start && run");
    EXPECT_EQ(f.grp_COMPort->title(), "Port && line");
    EXPECT_EQ(w.find<QLabel>("lbl_Sp")->text(), "Speed & feed") << "a label shows \"&\" as it is";
    EXPECT_EQ(controlCaption(f.grp_COMPort), "Port & line");
    EXPECT_EQ(controlCaption(w.find("btn_Go")), "Start & run");

    // A Chinese start records captions as they show.
    QByteArray xml = w.dir.read("config.xml");
    xml.replace("value=\"EN\"", "value=\"CN\"");
    Started chinese(xml);
    EXPECT_TRUE(chinese.entryLine("tbs_Dev").contains("captionCN=\"Limits &amp; offsets\""));
    EXPECT_TRUE(chinese.entryLine("btn_Go").contains("captionCN=\"Start &amp; run\""));
    EXPECT_EQ(chinese.form->pg_DYNC->tabText(0), "Limits && offsets");
}

TEST(LanguageTablesTest, AttributesAreReadAfreshAndMissingOnesAreEmpty) {
    Started w(smallConfig());
    TForm_Main& f = *w.form;
    EXPECT_EQ(f.GetLanguageAttributesStr("LABEL", "lbl_Port", "captionCN"), "端口：");
    EXPECT_EQ(f.GetLanguageAttributesStr("LABEL", "lbl_Port", "hintEN"), "");
    EXPECT_EQ(f.GetLanguageAttributesStr("LABEL", "nobody", "captionCN"), "");
    QByteArray xml = w.dir.read("config.xml");
    xml.replace("<LANGUAGE value=\"CN\">", "<LANGUAGE value=\"EN\">");
    xml.replace("captionCN=\"端口：\"", "captionCN=\"口\"");
    w.dir.write("config.xml", xml);
    EXPECT_EQ(f.GetLanguageAttributesStr("LABEL", "lbl_Port", "captionCN"), "口");
    EXPECT_EQ(f.LanguageCode, "EN");
    try {
        f.GetLanguageAttributesStr("NOSUCH", "x", "y");
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.text(), "The configuration file has no element TERVALON/LANGUAGE/COMPONETS/NOSUCH");
    }
}

TEST(LanguageTablesTest, AMissingGroupIsNamedAndTheTableLeftAsItWas) {
    TestConfig config = smallConfig();
    config.language.replace("<CHECKBOX/>", "");
    TestWindow w(config);
    const QByteArray before = w.dir.read("config.xml");
    w.form->FormCreate();
    ASSERT_EQ(w.presenter.errors.size(), 1);
    EXPECT_EQ(w.presenter.errors[0].section('\n', 0, 0),
              "The configuration file has no element TERVALON/LANGUAGE/COMPONETS/CHECKBOX");
    EXPECT_EQ(w.dir.read("config.xml"), before);
}

} // namespace
