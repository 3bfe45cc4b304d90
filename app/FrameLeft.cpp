#include "app/FrameLook.h"

#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/ElidedPathBox.h"
#include "ui/Lamps.h"
#include "ui/RowFlow.h"
#include "console/ReceiveLogView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// The left column's upper regions: the menu bar, the port settings and the notes.

void TForm_Main::buildMenuBar(DockLayout* leftDock) {
    Panel_Menu = make<TPanel>(QStringLiteral("Panel_Menu"), leftDock->parentWidget());
    leftDock->dock(Panel_Menu, DockAlign::Top, 40);
    btn_Skins = make<QPushButton>(QStringLiteral("btn_Skins"), Panel_Menu);
    btn_Skins->setText(QStringLiteral("SKINS"));
    btn_Skins->setGeometry(9, 5, 75, 25);
    btn_FirstLanguage = make<QPushButton>(QStringLiteral("btn_FirstLanguage"), Panel_Menu);
    btn_FirstLanguage->setText(QStringLiteral("Chinese"));
    btn_FirstLanguage->setGeometry(99, 5, 139, 25);
    btn_SecondLanguage = make<QPushButton>(QStringLiteral("btn_SecondLanguage"), Panel_Menu);
    btn_SecondLanguage->setText(QStringLiteral("English"));
    btn_SecondLanguage->setGeometry(265, 5, 139, 25);
}

void TForm_Main::buildPortGroup(DockLayout* leftDock) {
    grp_COMPort = make<QGroupBox>(QStringLiteral("grp_COMPort"), leftDock->parentWidget());
    grp_COMPort->setTitle(QStringLiteral("连接"));
    leftDock->dock(grp_COMPort, DockAlign::Top, 84);
    lbl_Port = make<QLabel>(QStringLiteral("lbl_Port"), grp_COMPort);
    lbl_Port->setText(QStringLiteral("端口："));
    lbl_Port->move(16, 27);
    cbb_Port = make<QComboBox>(QStringLiteral("cbb_Port"), grp_COMPort);
    {
        QStringList ports;
        for (int i = 1; i <= 16; ++i)
            ports << QStringLiteral("COM%1").arg(i);
        frame::setItems(cbb_Port, ports, QStringLiteral("COM1"));
    }
    cbb_Port->setGeometry(54, 24, 65, 24);
    makeElidedPathBox(cbb_Port);
    lbl_Baud = make<QLabel>(QStringLiteral("lbl_Baud"), grp_COMPort);
    lbl_Baud->setText(QStringLiteral("波特率："));
    lbl_Baud->move(138, 27);
    cbb_Baud = make<QComboBox>(QStringLiteral("cbb_Baud"), grp_COMPort);
    frame::setItems(cbb_Baud,
             {"1200", "2400", "4800", "9600", "14400", "19200", "38400", "43000", "56000", "57600", "115200",
              "128000", "256000"},
             QStringLiteral("9600"));
    cbb_Baud->setGeometry(194, 24, 71, 24);
    cbb_CheckBit = make<QComboBox>(QStringLiteral("cbb_CheckBit"), grp_COMPort);
    frame::setItems(cbb_CheckBit, {"N", "O", "E", "M", "S"}, QStringLiteral("N"));
    cbb_CheckBit->setGeometry(265, 24, 38, 24);
    cbb_DataBit = make<QComboBox>(QStringLiteral("cbb_DataBit"), grp_COMPort);
    frame::setItems(cbb_DataBit, {"5", "6", "7", "8"}, QStringLiteral("8"));
    cbb_DataBit->setGeometry(303, 24, 38, 24);
    cbb_StopBit = make<QComboBox>(QStringLiteral("cbb_StopBit"), grp_COMPort);
    frame::setItems(cbb_StopBit, {"1", "1.5", "2"}, QStringLiteral("1"));
    cbb_StopBit->setGeometry(341, 24, 38, 24);
    shp_led = make<TShape>(QStringLiteral("shp_led"), grp_COMPort);
    shp_led->setGeometry(381, 24, 20, 20);
    shp_led->setBrushColor(lamp::portClosed);
    btn_Connect = make<QPushButton>(QStringLiteral("btn_Connect"), grp_COMPort);
    btn_Connect->setText(QStringLiteral("连接端口"));
    btn_Connect->setGeometry(407, 24, 75, 25);
    chk_Reconnect = make<QCheckBox>(QStringLiteral("chk_Reconnect"), grp_COMPort);
    chk_Reconnect->setText(QStringLiteral("断开后等待设备重新连接"));
    chk_Reconnect->move(16, 56);
    chk_Reconnect->setToolTip(QStringLiteral("设备被拔出后，等它重新插上并以相同设置重新打开端口"));
    setKnownEnglish(chk_Reconnect, QStringLiteral("Reconnect when the device returns"),
                    QStringLiteral("After the device is unplugged, wait for it to come back and reopen "
                                   "the port with the same settings"));
}

void TForm_Main::buildNotesGroup(DockLayout* leftDock) {
    grp_Node = make<QGroupBox>(QStringLiteral("grp_Node"), leftDock->parentWidget());
    grp_Node->setTitle(QStringLiteral("使用说明"));
    leftDock->dock(grp_Node, DockAlign::Bottom, 113);
    const QStringList notes = {QStringLiteral("使用说明1"), QStringLiteral("使用说明2"),
                               QStringLiteral("使用说明3")};
    QLabel** noteLabels[] = {&lbl_Node1, &lbl_Node2, &lbl_Node3};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = make<QLabel>(QStringLiteral("lbl_Node%1").arg(i + 1), grp_Node);
        l->setText(notes[i]);
        l->move(8, 24 + 24 * i);
        l->setFont(frame::templateFont(16, true));
        setFontColor(l, frame::blue);
        *noteLabels[i] = l;
    }
}
