#include "app/FrameLook.h"

#include "console/ReceiveLogView.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/ElidedPathBox.h"
#include "ui/Lamps.h"
#include "ui/RowFlow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// The receive and send group: the receive options above the receive view, the send line and
// the lamps below it.

void TForm_Main::buildReceiveOptions(DockLayout* dataDock) {
    Panel2 = make<TPanel>(QStringLiteral("Panel2"), grp_DataRecvAndSend);
    dataDock->dock(Panel2, DockAlign::Top, 84);
    chk_showDT = make<QCheckBox>(QStringLiteral("chk_showDT"), Panel2);
    giveBuiltInTexts(chk_showDT, QT_TRANSLATE_NOOP("Controls", "Show time"));
    chk_showDT->move(17, 24);
    chk_autoClearRxmmo = make<QCheckBox>(QStringLiteral("chk_autoClearRxmmo"), Panel2);
    giveBuiltInTexts(chk_autoClearRxmmo, QT_TRANSLATE_NOOP("Controls", "Auto clear"));
    chk_autoClearRxmmo->move(104, 24);
    chk_autoClearRxmmo->setChecked(true);
    rbtn_Ascii = make<QRadioButton>(QStringLiteral("rbtn_Ascii"), Panel2);
    giveBuiltInTexts(rbtn_Ascii, QT_TRANSLATE_NOOP("Controls", "Text"));
    rbtn_Ascii->move(192, 24);
    rbtn_Ascii->setChecked(true);
    rbtn_Hex = make<QRadioButton>(QStringLiteral("rbtn_Hex"), Panel2);
    giveBuiltInTexts(rbtn_Hex, QT_TRANSLATE_NOOP("Controls", "Hex"));
    rbtn_Hex->move(256, 24);
    chk_AutoNewLine = make<QCheckBox>(QStringLiteral("chk_AutoNewLine"), Panel2);
    giveBuiltInTexts(chk_AutoNewLine, QT_TRANSLATE_NOOP("Controls", "New line"));
    chk_AutoNewLine->move(319, 24);
    btn_ClearRxmmo = make<QPushButton>(QStringLiteral("btn_ClearRxmmo"), Panel2);
    giveBuiltInTexts(btn_ClearRxmmo, QT_TRANSLATE_NOOP("Controls", "Clear"));
    btn_ClearRxmmo->setGeometry(406, 17, 75, 25);
    for (QAbstractButton* option :
         {static_cast<QAbstractButton*>(chk_showDT), static_cast<QAbstractButton*>(chk_autoClearRxmmo),
          static_cast<QAbstractButton*>(rbtn_Ascii), static_cast<QAbstractButton*>(rbtn_Hex),
          static_cast<QAbstractButton*>(chk_AutoNewLine)})
        option->adjustSize();
    new RowFlow(Panel2,
                {chk_showDT, chk_autoClearRxmmo, rbtn_Ascii, rbtn_Hex, chk_AutoNewLine, btn_ClearRxmmo});
    // The second row: what is kept of the session on disk.
    chk_SessionLog = make<QCheckBox>(QStringLiteral("chk_SessionLog"), Panel2);
    giveBuiltInTexts(
        chk_SessionLog, QT_TRANSLATE_NOOP("Controls", "Log session to file"),
        QT_TRANSLATE_NOOP(
            "Controls",
            "Record every block sent and received in a file in the logs folder beside config.xml"));
    chk_SessionLog->move(17, 56);
    chk_SessionLog->adjustSize();
    btn_OpenLogs = make<QPushButton>(QStringLiteral("btn_OpenLogs"), Panel2);
    giveBuiltInTexts(btn_OpenLogs, QT_TRANSLATE_NOOP("Controls", "Log folder"),
                     QT_TRANSLATE_NOOP("Controls", "Open the folder that holds the session logs"));
    btn_OpenLogs->setGeometry(192, 52, 90, 25);
    btn_SaveRx = make<QPushButton>(QStringLiteral("btn_SaveRx"), Panel2);
    giveBuiltInTexts(btn_SaveRx, QT_TRANSLATE_NOOP("Controls", "Save receive box"),
                     QT_TRANSLATE_NOOP("Controls", "Save the receive box's text to a file"));
    btn_SaveRx->setGeometry(290, 52, 90, 25);
    new RowFlow(Panel2, {chk_SessionLog, btn_OpenLogs, btn_SaveRx});
}

void TForm_Main::buildSendArea(DockLayout* dataDock) {
    // Docked bottom-up: the lamp panel at the very bottom, the send line above it.
    Panel3 = make<TPanel>(QStringLiteral("Panel3"), grp_DataRecvAndSend);
    dataDock->dock(Panel3, DockAlign::Bottom, 45);
    mmo_TX = make<QPlainTextEdit>(QStringLiteral("mmo_TX"), grp_DataRecvAndSend);
    dataDock->dock(mmo_TX, DockAlign::Bottom, 69);
    mmo_TX->setFont(frame::templateFont(16, true));
    setControlColor(mmo_TX, palette().color(QPalette::Highlight));
    setFontColor(mmo_TX, frame::white);
    mmo_TX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmo_TX->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    mmo_RX = make<ReceiveLogView>(QStringLiteral("mmo_RX"), grp_DataRecvAndSend);
    dataDock->dock(mmo_RX, DockAlign::Client);
    mmo_RX->setFont(frame::templateFont(16, true));
    setControlColor(mmo_RX, frame::yellow);
    setFontColor(mmo_RX, frame::green);
    mmo_RX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmo_RX->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    shp_TX = make<TShape>(QStringLiteral("shp_TX"), Panel3);
    shp_TX->setGeometry(17, 10, 20, 20);
    shp_TX->setBrushColor(lamp::atRest);
    setBuiltInAccessibleName(shp_TX, QT_TRANSLATE_NOOP("Controls", "Send lamp: flashes as data is sent"));
    lbl_Send = make<QLabel>(QStringLiteral("lbl_Send"), Panel3);
    giveBuiltInTexts(lbl_Send, QT_TRANSLATE_NOOP("Controls", "TX"));
    lbl_Send->move(49, 13);
    setFontColor(lbl_Send, frame::green);
    shp_RX = make<TShape>(QStringLiteral("shp_RX"), Panel3);
    shp_RX->setGeometry(97, 10, 20, 20);
    shp_RX->setBrushColor(lamp::atRest);
    setBuiltInAccessibleName(shp_RX, QT_TRANSLATE_NOOP("Controls", "Receive lamp: flashes as data arrives"));
    lbl_Recv = make<QLabel>(QStringLiteral("lbl_Recv"), Panel3);
    giveBuiltInTexts(lbl_Recv, QT_TRANSLATE_NOOP("Controls", "RX"));
    lbl_Recv->move(121, 13);
    setFontColor(lbl_Recv, frame::blue);
    btn_Send = make<QPushButton>(QStringLiteral("btn_Send"), Panel3);
    giveBuiltInTexts(btn_Send, QT_TRANSLATE_NOOP("Controls", "Send"));
    btn_Send->setGeometry(161, 9, 75, 25);
    lbl_CmdList = make<QLabel>(QStringLiteral("lbl_CmdList"), Panel3);
    giveBuiltInTexts(lbl_CmdList, QT_TRANSLATE_NOOP("Controls", "Batch:"));
    lbl_CmdList->move(249, 12);
    cmb_CMDS = make<QComboBox>(QStringLiteral("cmb_CMDS"), Panel3);
    cmb_CMDS->setGeometry(313, 9, 128, 24);
    // The user may also type a batch's name; typing never adds to the list.
    cmb_CMDS->setEditable(true);
    cmb_CMDS->setInsertPolicy(QComboBox::NoInsert);
    btn_Cmds = make<QPushButton>(QStringLiteral("btn_Cmds"), Panel3);
    btn_Cmds->setGeometry(408, 6, 75, 25);
    btn_Cmds->hide();
}
