// Choice boxes and rows that share an address against the simulated device over a
// pseudo-terminal pair: the value each Write puts on the wire and the row each reply fills.

#include "DeviceLine.h"
#include "console/Connection.h"
#include "comm/SerialComm.h"
#include "console/PageBuilderFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Separators written as users write them (no addr) ahead of every row; a choice box with
// English texts, one without any language-table entry, and two pages showing register 12.
TestConfig choiceConfig(const QString& language) {
    TestConfig config;
    config.language = "<LANGUAGE value=\"" + language +
                      "\"><COMPONETS><COMBOBOX><E name=\"cbb_Power\" itemsCN=\"\" itemsEN=\"Off|On\"/>"
                      "</COMBOBOX></COMPONETS><MESSAGES/></LANGUAGE>";
    config.dync =
        "<GROUP_DYNC><Main caption=\"主页\"><Topxxx/>"
        "<Power caption=\"电源\" hint=\"h\" addr=\"14\" controlType=\"ComboBox\" items=\"关|开\" "
        "itemsValue=\"0|1\"/><Midxxx/>"
        "<Mode caption=\"模式\" hint=\"h\" addr=\"15\" controlType=\"ComboBox\" items=\"停止|运行\" "
        "itemsValue=\"0|1\"/>"
        "<SpeedA caption=\"速度\" hint=\"h\" addr=\"12\"/>"
        "</Main><Other caption=\"其它\"><Linexxx/>"
        "<SpeedB caption=\"速度\" hint=\"h\" addr=\"12\"/>"
        "</Other></GROUP_DYNC>";
    return config;
}

// The window as the tests find it after start-up: built, its language table applied.
struct Console : TestWindow {
    explicit Console(const QString& language) : TestWindow(choiceConfig(language)) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        // What the language pass does at start-up: the English choices, and sending told.
        if (language == "EN") {
            power()->clear();
            power()->addItems({"Off", "On"});
        }
        f.sending->setLanguage(f.language());
        f.connection->setConnectCaption("连接端口");
        f.connection->setDisconnectCaption("断开端口");
    }
    ~Console() { f.Comm1->StopComm(); }

    bool connectTo(const QString& port) {
        f.cbb_Port->setCurrentText(port);
        f.btn_Connect->click();
        return f.Comm1->Handle() != 0;
    }
    void click(const QString& button) { find<QPushButton>(button)->click(); }
    QComboBox* power() const { return find<QComboBox>("cbb_Power"); }
    QComboBox* mode() const { return find<QComboBox>("cbb_Mode"); }

    TForm_Main& f = *form;
};

SimulatedDevice::Setup device() {
    SimulatedDevice::Setup setup;
    setup.textValues = {{12, "7"}, {14, "1"}, {15, "1"}};
    return setup;
}

TEST(ChoiceWireTest, AWriteSendsTheValueOfTheShownTextInEitherLanguage) {
    for (const QString language : {"EN", "CN"}) {
        SCOPED_TRACE(language.toStdString());
        DeviceLine line(device());
        Console c(language);
        ASSERT_TRUE(c.connectTo(line.portPath()));
        const bool english = language == "EN";

        c.click("btn_Read_Power");
        EXPECT_TRUE(waitFor([&] { return c.power()->currentText() == (english ? "On" : "开"); }));
        c.power()->setCurrentIndex(0);
        c.click("btn_Write_Power");
        c.power()->setCurrentIndex(1);
        c.click("btn_Write_Power");
        // The item's own texts still count in the other language; a text of no list goes as it is.
        c.power()->setCurrentText("关");
        c.click("btn_Write_Power");
        c.power()->setCurrentText("5");
        c.click("btn_Write_Power");
        EXPECT_TRUE(waitFor([&] { return line.wire().endsWith("$KWRV=14,5#\r\n"); }));
        EXPECT_EQ(line.wire(), "$KRDV=14#\r\n$KWRV=14,0#\r\n$KWRV=14,1#\r\n$KWRV=14,0#\r\n$KWRV=14,5#\r\n");
        EXPECT_TRUE(c.presenter.errors.isEmpty()) << c.presenter.errors.join('\n').toStdString();
    }
}

TEST(ChoiceWireTest, AReplyToABoxWithoutATableEntryShowsTheItemsOwnText) {
    DeviceLine line(device());
    Console c("CN");
    ASSERT_TRUE(c.connectTo(line.portPath()));

    c.click("btn_Read_Mode");
    EXPECT_TRUE(waitFor([&] { return c.mode()->currentText() == "运行"; }));
    c.mode()->setCurrentText("停止");
    c.click("btn_Write_Mode");
    c.mode()->setCurrentText("");
    c.click("btn_Read_Mode");
    EXPECT_TRUE(waitFor([&] { return c.mode()->currentText() == "停止"; }));
    EXPECT_EQ(line.wire(), "$KRDV=15#\r\n$KWRV=15,0#\r\n$KRDV=15#\r\n");
}

TEST(ChoiceWireTest, RowsSharingAnAddressEachActOnTheirOwnRow) {
    DeviceLine line(device());
    Console c("CN");
    ASSERT_TRUE(c.connectTo(line.portPath()));
    auto* a = c.find<QLineEdit>("edt_SpeedA");
    auto* b = c.find<QLineEdit>("edt_SpeedB");

    a->setText("11");
    b->setText("22");
    c.click("btn_Write_SpeedA");
    c.click("btn_Write_SpeedB");
    b->clear();
    c.click("btn_Write_SpeedA");
    EXPECT_TRUE(c.presenter.messages.isEmpty()) << "row A has its value";
    EXPECT_TRUE(waitFor([&] { return line.wire().count("$KWRV") == 3; }));

    // The device now holds 11: a Read fills the row whose button was pressed.
    c.click("btn_Read_SpeedB");
    EXPECT_TRUE(waitFor([&] { return b->text() == "11"; }));
    EXPECT_EQ(a->text(), "11");
    a->clear();
    c.click("btn_Read_SpeedA");
    EXPECT_TRUE(waitFor([&] { return a->text() == "11"; }));
    EXPECT_EQ(b->text(), "11");
    b->setText("x");
    c.click("btn_Read_SpeedA");
    EXPECT_TRUE(
        waitFor([&] { return line.wire().count("$KRDV") == 3 && c.f.sending->readTarget() == nullptr; }));
    EXPECT_EQ(b->text(), "x");
    EXPECT_EQ(line.wire(), "$KWRV=12,11#\r\n$KWRV=12,22#\r\n$KWRV=12,11#\r\n"
                           "$KRDV=12#\r\n$KRDV=12#\r\n$KRDV=12#\r\n");
}

// The bundled example as users start it: twice in Chinese, then switched to English.
TEST(ChoiceWireTest, TheBundledExampleStartsAgainAndWritesItsChoicesInEnglish) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    { TForm_Main(dir.path()).FormCreate(); }
    TForm_Main f(dir.path());
    f.FormCreate();
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
    f.btn_SecondLanguage->click();

    SimulatedDevice::Setup setup;
    setup.textValues = {{1003, "2"}};
    DeviceLine line(setup);
    f.cbb_Port->setCurrentText(line.portPath());
    f.btn_Connect->click();
    ASSERT_NE(f.Comm1->Handle(), 0);
    auto* mode = qobject_cast<QComboBox*>(f.FindComponent("cbb_Mode"));
    ASSERT_TRUE(mode);
    qobject_cast<QPushButton*>(f.FindComponent("btn_Read_Mode"))->click();
    EXPECT_TRUE(waitFor([&] { return mode->currentText() == "Auto"; }));
    mode->setCurrentText("Manual");
    qobject_cast<QPushButton*>(f.FindComponent("btn_Write_Mode"))->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().endsWith("$KWRV=1003,1#\r\n"); }));
    EXPECT_EQ(line.wire(), "$KRDV=1003#\r\n$KWRV=1003,1#\r\n");
    EXPECT_TRUE(presenter.errors.isEmpty()) << presenter.errors.join('\n').toStdString();
    f.Comm1->StopComm();
}

} // namespace
