// Switching the language and closing the settings editor while a device is connected: what
// the user set stays, on screen and on the wire.

#include "DeviceLine.h"
#include "console/Connection.h"
#include "comm/SerialComm.h"
#include "console/PageBuilderFixture.h"
#include "language/ControlSettingFrm.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TestConfig switchConfig() {
    TestConfig config;
    config.dync =
        "<GROUP_DYNC><Main caption=\"主页\">"
        "<Power caption=\"电源\" hint=\"h\" addr=\"14\" controlType=\"ComboBox\" items=\"关|开|待机\" "
        "itemsValue=\"0|1|2\"/></Main></GROUP_DYNC>";
    config.language =
        "<LANGUAGE value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/>"
        "<BUTTON><B name=\"btn_Connect\" captionCN=\"连接端口\" hintCN=\"\" captionEN=\"Connect\" "
        "hintEN=\"\"/>"
        "</BUTTON><LABEL/><EDIT/><COMBOBOX><C name=\"cbb_Power\" hintCN=\"h\" hintEN=\"h\" "
        "itemsCN=\"关|开|待机\" "
        "itemsEN=\"Off|On|Standby\"/></COMBOBOX><CHECKBOX/></COMPONETS>"
        "<MESSAGES><MSG_BTN_UNCONNECT strCN=\"断开端口\" strEN=\"Disconnect\"/></MESSAGES></LANGUAGE>";
    return config;
}

// Opens the settings editor on a control and closes it with its close box, as a user would
// after looking.
void openAndCloseEditor(TForm_Main& f, QWidget* control) {
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (Form_ControlSetting && Form_ControlSetting->isVisible())
            Form_ControlSetting->reject();
    });
    closer.start(0);
    f.PopupMenu1Popup(control);
}

TEST(LanguageSwitchWireTest, AnOpenPortAndTheChosenValuesSurviveSwitchesAndTheEditor) {
    DeviceLine line;
    TestWindow w(switchConfig());
    TForm_Main& f = *w.form;
    f.FormCreate();
    ASSERT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
    f.cbb_Port->setCurrentText(line.portPath());
    f.cbb_Baud->setCurrentText("19200");
    f.btn_Connect->click();
    ASSERT_NE(f.Comm1->Handle(), 0);
    EXPECT_EQ(f.btn_Connect->text(), "断开端口");

    auto* power = w.find<QComboBox>("cbb_Power");
    power->setCurrentIndex(2);
    f.btn_SecondLanguage->click();
    EXPECT_EQ(power->currentText(), "Standby");
    EXPECT_EQ(f.btn_Connect->text(), "Disconnect") << "the port is still open";
    EXPECT_EQ(f.cbb_Port->currentText(), line.portPath());
    EXPECT_EQ(f.cbb_Baud->currentText(), "19200");

    f.btn_FirstLanguage->click();
    EXPECT_EQ(power->currentText(), "待机");
    w.find<QPushButton>("btn_Write_Power")->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().contains("\r\n"); }));
    EXPECT_EQ(line.wire(), "$KWRV=14,2#\r\n");

    power->setCurrentIndex(1);
    openAndCloseEditor(f, power);
    EXPECT_EQ(power->currentText(), "开");
    EXPECT_EQ(f.btn_Connect->text(), "断开端口");
    EXPECT_EQ(f.cbb_Baud->currentText(), "19200");
    line.clearWire();
    w.find<QPushButton>("btn_Write_Power")->click();
    EXPECT_TRUE(waitFor([&] { return line.wire().contains("\r\n"); }));
    EXPECT_EQ(line.wire(), "$KWRV=14,1#\r\n");

    // The click closes the open port whatever caption the tables gave the button.
    f.btn_Connect->setText(f.connection->connectCaption());
    f.btn_Connect->click();
    EXPECT_EQ(f.Comm1->Handle(), 0);
    EXPECT_EQ(f.btn_Connect->text(), "连接端口");
    f.btn_Connect->click();
    EXPECT_NE(f.Comm1->Handle(), 0) << "and the next click opens it again";
    f.Comm1->StopComm();
    EXPECT_TRUE(w.presenter.messages.isEmpty()) << w.presenter.messages.join('\n').toStdString();
}

} // namespace
