// The program's own texts where config.xml names nothing: in the window's language, both
// ways, in the entries a language pass adds, and in Qt's own dialogs.

#include "console/PageBuilderFixture.h"
#include "console/TrendReading.h"

#include "language/QtTranslations.h"
#include "trend/TrendWindow.h"
#include "ui/BuiltInTexts.h"
#include "ui/ControlCaption.h"
#include "ui/Controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

bool hasCjk(const QString& text) {
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return cjk.match(text).hasMatch();
}

// Every text a widget shows or gives assistive technology.
QStringList textsOf(const QWidget* w) {
    QStringList texts{w->toolTip(), w->accessibleName(), w->accessibleDescription()};
    if (w->isWindow())
        texts << w->windowTitle();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        texts << b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        texts << l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        texts << g->title();
    if (auto* p = qobject_cast<const TPanel*>(w))
        texts << p->caption();
    if (auto* t = qobject_cast<const QTabWidget*>(w))
        for (int i = 0; i < t->count(); ++i)
            texts << t->tabText(i) << t->tabToolTip(i);
    if (auto* c = qobject_cast<const QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
    return texts;
}

// "name: text" for every text of the window and its trend window that contains Chinese.
QStringList chineseTexts(const TForm_Main& form) {
    QList<const QWidget*> widgets{&form};
    for (const QWidget* w : form.findChildren<QWidget*>())
        widgets << w;
    QStringList found;
    for (const QWidget* w : widgets)
        for (const QString& text : textsOf(w))
            if (hasCjk(text))
                found << w->objectName() + QStringLiteral(": ") + text;
    return found;
}

// A file written before the newer controls existed, taken to the extreme: its language table
// names no control at all, and its own texts are English, so that any Chinese in an English
// window is the program's. One row has neither caption nor hint.
TestConfig fileWithoutEntries(const QString& code) {
    TestConfig config;
    config.language =
        QStringLiteral("<LANGUAGE value=\"%1\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/>"
                       "<EDIT/><COMBOBOX/><CHECKBOX/></COMPONETS><MESSAGES/></LANGUAGE>")
            .arg(code);
    config.cmds = QStringLiteral("<CMDS showButton=\"1\" caption=\"Run\"><Warm caption=\"Warm up\" "
                                 "CmdsStr=\"$A#[100]\"/></CMDS>");
    config.dync = QStringLiteral(
        "<GROUP_DYNC><Dev caption=\"Device\"><Pw caption=\"Power\" hint=\"Power switch\" addr=\"5\" "
        "controlType=\"ComboBox\" items=\"Off|On\" itemsValue=\"0|1\"/><Sp caption=\"\" hint=\"\" "
        "addr=\"6\"/>"
        "</Dev></GROUP_DYNC>");
    config.fix = QStringLiteral("<GROUP_FIX><Fx caption=\"Daily\"><Go caption=\"Go\" hint=\"Start\" "
                                "cmdStr=\"$GO#\"/></Fx></GROUP_FIX>");
    config.autoRead =
        QStringLiteral("<GROUP_AUTO><Au caption=\"Live\" protocol=\"MODBUS\" equAddr=\"1\" "
                       "startReg=\"40001\" regLen=\"1\"><T caption=\"Temperature\" hint=\"\" "
                       "addr=\"40001\" constA=\"0\" constM=\"0.1\" unit=\"C\"/></Au></GROUP_AUTO>");
    return config;
}

struct Started : TestWindow {
    explicit Started(const TestConfig& config) : TestWindow(config) { form->FormCreate(); }
    QString text(const char* name) const { return controlCaption(form->FindComponent(name)); }
    QString tip(const char* name) const { return find(name)->toolTip(); }
};

// The controls the issue found Chinese in an English window.
const char* const kNewerControls[] = {"cms_ReadPage",     "cms_ReadAll",   "cms_SaveSnapshot",
                                      "cms_LoadSnapshot", "cms_Compare",   "cms_WriteSnapshot",
                                      "btn_Trend",        "chk_Reconnect", "chk_SessionLog",
                                      "btn_OpenLogs",     "btn_SaveRx"};

void expectEnglishBuiltIns(const Started& w) {
    EXPECT_EQ(w.text("cms_ReadPage"), "Read page");
    EXPECT_EQ(w.text("cms_WriteSnapshot"), "Write snapshot");
    EXPECT_EQ(w.tip("cms_Compare"), "Read all and list the parameters that differ from the snapshot");
    EXPECT_EQ(w.text("chk_Reconnect"), "Reconnect when the device returns");
    EXPECT_EQ(w.text("btn_Connect"), "Connect");
    EXPECT_EQ(w.text("grp_COMPort"), "Connection");
    // "READ" once an entry was added: the file's fixed English for a parameter's button.
    EXPECT_EQ(w.text("btn_Read_Pw").toLower(), "read");
    EXPECT_EQ(w.text("lbl_Sp"), "Right-click to set the caption");
    EXPECT_EQ(w.tip("edt_Sp"), "Right-click to set the hint");
    EXPECT_EQ(w.text("lbl_TrendSpan"), "Show the last");
    EXPECT_EQ(w.find("shp_led")->accessibleName(), "Port lamp: red while the port is open");
    EXPECT_TRUE(w.form->Panel_Top->caption().startsWith("Error loading image ")) << "no banner.jpg here";
}

void expectChineseBuiltIns(const Started& w) {
    EXPECT_EQ(w.text("cms_ReadPage"), "读取本页");
    EXPECT_EQ(w.text("cms_WriteSnapshot"), "写入快照");
    EXPECT_EQ(w.tip("cms_Compare"), "读取全部参数并列出与快照不同的参数");
    EXPECT_EQ(w.text("chk_Reconnect"), "断开后等待设备重新连接");
    EXPECT_EQ(w.text("btn_Connect"), "连接端口");
    EXPECT_EQ(w.text("grp_COMPort"), "连接");
    EXPECT_EQ(w.text("btn_Read_Pw"), "读取");
    EXPECT_EQ(w.text("lbl_Sp"), "请点击右键设置显示内容");
    EXPECT_EQ(w.text("lbl_TrendSpan"), "显示最近");
    EXPECT_EQ(w.find("shp_led")->accessibleName(), "端口指示灯：端口打开时为红色");
    EXPECT_TRUE(w.form->Panel_Top->caption().startsWith("加载图片"));
}

TEST(BuiltInTextsTest, AnEnglishStartOnAFileWithoutEntriesShowsNoChinese) {
    Started w(fileWithoutEntries("EN"));
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
    EXPECT_EQ(chineseTexts(*w.form), QStringList());
    expectEnglishBuiltIns(w);
    EXPECT_EQ(installedTranslations(), Language::english());

    // Messages are English too, down to the ones worded from parts.
    w.find<QComboBox>("cmb_CMDS")->setCurrentText("Nothing");
    w.find<QPushButton>("btn_Cmds")->click();
    EXPECT_EQ(w.presenter.messages.value(0), "There is no batch named \"Nothing\"; nothing was sent");
}

TEST(BuiltInTextsTest, AChineseStartShowsChineseAndSwitchingGoesBothWays) {
    Started w(fileWithoutEntries("CN"));
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
    expectChineseBuiltIns(w);
    EXPECT_EQ(installedTranslations(), Language::chinese());

    w.form->btn_SecondLanguage->click();
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
    EXPECT_EQ(chineseTexts(*w.form), QStringList());
    expectEnglishBuiltIns(w);
    EXPECT_EQ(w.form->trendReading->window()->windowTitle(), "Trend");

    w.form->btn_FirstLanguage->click();
    expectChineseBuiltIns(w);
    EXPECT_EQ(w.form->trendReading->window()->windowTitle(), "趋势图");
}

TEST(BuiltInTextsTest, TheEntriesAChineseStartAddsHoldBothLanguagesBuiltInTexts) {
    Started w(fileWithoutEntries("CN"));
    const XmlDocument doc = XmlDocument::openForWriting(w.form->ConfigPath);
    const XmlNode table = doc.findRoot().findChild("LANGUAGE").findChild("COMPONETS");
    auto entry = [&](const QString& group, const QString& name) {
        const XmlNode g = table.findChild(group);
        for (int i = 0; i < g.childCount(); ++i)
            if (g.child(i).readAttribute("name") == name)
                return g.child(i);
        return XmlNode();
    };
    for (const char* name : kNewerControls) {
        const QObject* control = w.form->FindComponent(name);
        ASSERT_TRUE(control) << name;
        const QString group = qobject_cast<const QCheckBox*>(control) ? "CHECKBOX" : "BUTTON";
        const XmlNode e = entry(group, name);
        ASSERT_FALSE(e.isNull()) << name;
        EXPECT_EQ(e.readAttribute("captionEN"), *builtInCaption(control, Language::english())) << name;
        EXPECT_EQ(e.readAttribute("captionCN"), *builtInCaption(control, Language::chinese())) << name;
        EXPECT_EQ(e.readAttribute("hintEN"), *builtInHint(control, Language::english())) << name;
        EXPECT_EQ(e.readAttribute("hintCN"), *builtInHint(control, Language::chinese())) << name;
        EXPECT_TRUE(hasCjk(e.readAttribute("captionCN"))) << name;
        EXPECT_FALSE(hasCjk(e.readAttribute("captionEN") + e.readAttribute("hintEN"))) << name;
    }
    EXPECT_EQ(entry("GROUPBOX", "grp_COMPort").readAttribute("captionEN"), "Connection");
    EXPECT_EQ(entry("LABEL", "lbl_Port").readAttribute("captionEN"), "Port:");
    EXPECT_EQ(entry("LABEL", "lbl_TrendSpan").readAttribute("captionCN"), "显示最近");

    // The next start in English reads them back: the same texts as without entries.
    w.form->btn_SecondLanguage->click();
    expectEnglishBuiltIns(w);
    EXPECT_EQ(chineseTexts(*w.form), QStringList());
}

TEST(BuiltInTextsTest, TheFilesEntriesStillWinOverBuiltInTexts) {
    TestConfig config = fileWithoutEntries("EN");
    config.language.replace("<BUTTON/>",
                            "<BUTTON><BUTTON_LAN name=\"cms_ReadAll\" captionCN=\"全读\" hintCN=\"h\" "
                            "captionEN=\"Everything\" hintEN=\"All of it\"/></BUTTON>");
    Started w(config);
    EXPECT_EQ(w.text("cms_ReadAll"), "Everything");
    EXPECT_EQ(w.tip("cms_ReadAll"), "All of it");
    EXPECT_EQ(w.text("cms_ReadPage"), "Read page") << "unnamed: built-in";
    w.form->btn_FirstLanguage->click();
    EXPECT_EQ(w.text("cms_ReadAll"), "全读");
    EXPECT_EQ(w.text("cms_ReadPage"), "读取本页");
}

// The messages of the flows that word texts from parts (a file's fault, a row's reason, a
// system error) say nothing in Chinese in an English window, only the file's own texts.
TEST(BuiltInTextsTest, AnEnglishWindowsSnapshotMessagesShowNoChinese) {
    Started w(fileWithoutEntries("EN"));
    auto loading = [&](const QString& name, const QByteArray& content) {
        w.dir.write(name, content);
        w.presenter.chosenFile = w.dir.file(name);
        w.find<QPushButton>("cms_LoadSnapshot")->click();
        return w.presenter.messages.value(w.presenter.messages.size() - 1);
    };
    const QString binary = loading("bin.csv", QByteArray("page\0tag", 9));
    EXPECT_TRUE(binary.contains("it is no text file (line 1 holds binary data)")) << binary.toStdString();
    const QString refused = loading("rows.csv", "page,tag,address,caption CN,caption EN,device value,shown "
                                                "text,time read\r\n"
                                                "x,Pw,5,a,b,=1+1,,\r\n"
                                                "x,Ghost,9,a,b,1,,\r\n");
    EXPECT_TRUE(refused.startsWith("0 parameters loaded; 2 rows not loaded")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("no parameter has this tag and address")) << refused.toStdString();

    // A folder where the file should go: the save is refused, with the reason in English.
    ASSERT_TRUE(QDir().mkpath(w.dir.file("folder.csv")));
    w.presenter.chosenFile = w.dir.file("folder.csv");
    w.find<QPushButton>("cms_SaveSnapshot")->click();
    const QString failedSave = w.presenter.messages.value(w.presenter.messages.size() - 1);
    EXPECT_TRUE(failedSave.endsWith("it is a folder, not a file")) << failedSave.toStdString();

    ASSERT_EQ(w.presenter.messages.size(), 3) << w.presenter.messages.join('\n').toStdString();
    for (const QString& message : w.presenter.messages + w.presenter.errors)
        EXPECT_FALSE(hasCjk(message)) << message.toStdString();
}

// The buttons of Qt's own file dialog and message box.
QStringList dialogButtons() {
    QFileDialog dialog(nullptr, "t", QString(), "*.csv");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList texts;
    for (const QAbstractButton* b : dialog.findChild<QDialogButtonBox*>()->buttons())
        texts << b->text();
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    for (const QAbstractButton* b : box.buttons())
        texts << b->text();
    return texts;
}

TEST(BuiltInTextsTest, QtsOwnDialogsSpeakTheWindowsLanguage) {
    ASSERT_TRUE(QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
        << "Qt's translations are not installed";
    Started w(fileWithoutEntries("CN"));
    const QStringList chinese = dialogButtons();
    ASSERT_EQ(chinese.size(), 6);
    for (const QString& text : chinese)
        EXPECT_TRUE(hasCjk(text)) << text.toStdString();

    w.form->btn_SecondLanguage->click();
    for (const QString& text : dialogButtons())
        EXPECT_FALSE(hasCjk(text)) << text.toStdString();
    w.form->btn_FirstLanguage->click();
    EXPECT_TRUE(hasCjk(dialogButtons().value(0)));
}

} // namespace
