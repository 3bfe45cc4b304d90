#include "app/MainFrm.h"

#include "ui/ComponentRegistry.h"

#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/ElidedPathBox.h"
#include "ui/MessageBoxes.h"
#include "ui/RowFlow.h"
#include "app/ShowingErrors.h"
#include "trend/TrendWindow.h"
#include "config/AppError.h"
#include "console/ConsoleWiring.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace {

const QColor clGreen(0, 128, 0);
const QColor clBlue(0, 0, 255);
const QColor clBlack(0, 0, 0);
const QColor clOlive(128, 128, 0);
const QColor clYellow(255, 255, 0);
const QColor clWhite(255, 255, 255);

// The template asks for "微软雅黑"; where it is absent a CJK family with the same coverage.
QFont templateFont(int pixelSize, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void setItems(QComboBox* box, const QStringList& items, const QString& text) {
    box->setEditable(true);
    box->addItems(items);
    box->setCurrentText(text);
}

} // namespace

template <class T> T* TForm_Main::make(const QString& name, QWidget* parent) {
    auto* w = new T(parent);
    RegisterComponent(w, name);
    return w;
}

TForm_Main::TForm_Main(const QString& appDir, QWidget* parent) : QWidget(parent) {
    AppDir = QDir::cleanPath(appDir) + QLatin1Char('/');
    ConfigPath = AppDir + QStringLiteral("config.xml");
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Form_Main"));
    setFont(templateFont(11));
    resize(1494, 720);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    createFixedFrame();
    wireFixedFrame();
}

TForm_Main::~TForm_Main() {
    // The chart reads the trend store, a member that is gone before Qt deletes the children.
    delete TrendView;
}

void TForm_Main::UseConfigFile(const QString& path) {
    const QFileInfo file(path);
    AppDir = QDir::cleanPath(file.absolutePath()) + QLatin1Char('/');
    ConfigPath = file.absoluteFilePath();
}

void TForm_Main::createFixedFrame() {
    auto* dock = new DockLayout(this);

    Panel_Top = make<TPanel>(QStringLiteral("Panel_Top"), this);
    Panel_Top->setCaption(QStringLiteral("1111"));
    dock->dock(Panel_Top, DockAlign::Top, 97);
    lbl_Web = make<QLabel>(QStringLiteral("lbl_Web"), Panel_Top);
    lbl_Web->setText(QStringLiteral("联系我们"));
    lbl_Web->setGeometry(1224, 1, 97, 24);
    {
        QFont f = templateFont(16);
        f.setItalic(true);
        f.setUnderline(true);
        lbl_Web->setFont(f);
    }
    setFontColor(lbl_Web, clWhite);
    lbl_Web->setCursor(Qt::PointingHandCursor);
    lbl_Web->setAttribute(Qt::WA_TranslucentBackground);

    Panel_Left = make<TPanel>(QStringLiteral("Panel_Left"), this);
    dock->dock(Panel_Left, DockAlign::Left, 481);
    auto* leftDock = new DockLayout(Panel_Left);

    Panel_Menu = make<TPanel>(QStringLiteral("Panel_Menu"), Panel_Left);
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

    grp_COMPort = make<QGroupBox>(QStringLiteral("grp_COMPort"), Panel_Left);
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
        setItems(cbb_Port, ports, QStringLiteral("COM1"));
    }
    cbb_Port->setGeometry(54, 24, 65, 24);
    makeElidedPathBox(cbb_Port);
    lbl_Baud = make<QLabel>(QStringLiteral("lbl_Baud"), grp_COMPort);
    lbl_Baud->setText(QStringLiteral("波特率："));
    lbl_Baud->move(138, 27);
    cbb_Baud = make<QComboBox>(QStringLiteral("cbb_Baud"), grp_COMPort);
    setItems(cbb_Baud,
             {"1200", "2400", "4800", "9600", "14400", "19200", "38400", "43000", "56000", "57600", "115200",
              "128000", "256000"},
             QStringLiteral("9600"));
    cbb_Baud->setGeometry(194, 24, 71, 24);
    cbb_CheckBit = make<QComboBox>(QStringLiteral("cbb_CheckBit"), grp_COMPort);
    setItems(cbb_CheckBit, {"N", "O", "E", "M", "S"}, QStringLiteral("N"));
    cbb_CheckBit->setGeometry(265, 24, 38, 24);
    cbb_DataBit = make<QComboBox>(QStringLiteral("cbb_DataBit"), grp_COMPort);
    setItems(cbb_DataBit, {"5", "6", "7", "8"}, QStringLiteral("8"));
    cbb_DataBit->setGeometry(303, 24, 38, 24);
    cbb_StopBit = make<QComboBox>(QStringLiteral("cbb_StopBit"), grp_COMPort);
    setItems(cbb_StopBit, {"1", "1.5", "2"}, QStringLiteral("1"));
    cbb_StopBit->setGeometry(341, 24, 38, 24);
    shp_led = make<TShape>(QStringLiteral("shp_led"), grp_COMPort);
    shp_led->setGeometry(381, 24, 20, 20);
    shp_led->setBrushColor(clBlack);
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

    grp_Node = make<QGroupBox>(QStringLiteral("grp_Node"), Panel_Left);
    grp_Node->setTitle(QStringLiteral("使用说明"));
    leftDock->dock(grp_Node, DockAlign::Bottom, 113);
    const QStringList notes = {QStringLiteral("使用说明1"), QStringLiteral("使用说明2"),
                               QStringLiteral("使用说明3")};
    QLabel** noteLabels[] = {&lbl_Node1, &lbl_Node2, &lbl_Node3};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = make<QLabel>(QStringLiteral("lbl_Node%1").arg(i + 1), grp_Node);
        l->setText(notes[i]);
        l->move(8, 24 + 24 * i);
        l->setFont(templateFont(16, true));
        setFontColor(l, clBlue);
        *noteLabels[i] = l;
    }

    grp_DataRecvAndSend = make<QGroupBox>(QStringLiteral("grp_DataRecvAndSend"), Panel_Left);
    grp_DataRecvAndSend->setTitle(QStringLiteral("数据收发"));
    leftDock->dock(grp_DataRecvAndSend, DockAlign::Client);
    auto* dataDock = new DockLayout(grp_DataRecvAndSend);

    Panel2 = make<TPanel>(QStringLiteral("Panel2"), grp_DataRecvAndSend);
    dataDock->dock(Panel2, DockAlign::Top, 84);
    chk_showDT = make<QCheckBox>(QStringLiteral("chk_showDT"), Panel2);
    chk_showDT->setText(QStringLiteral("显示时间"));
    chk_showDT->move(17, 24);
    chk_autoClearRxmmo = make<QCheckBox>(QStringLiteral("chk_autoClearRxmmo"), Panel2);
    chk_autoClearRxmmo->setText(QStringLiteral("自动清空"));
    chk_autoClearRxmmo->move(104, 24);
    chk_autoClearRxmmo->setChecked(true);
    rbtn_Ascii = make<QRadioButton>(QStringLiteral("rbtn_Ascii"), Panel2);
    rbtn_Ascii->setText(QStringLiteral("字符串"));
    rbtn_Ascii->move(192, 24);
    rbtn_Ascii->setChecked(true);
    rbtn_Hex = make<QRadioButton>(QStringLiteral("rbtn_Hex"), Panel2);
    rbtn_Hex->setText(QStringLiteral("16进制"));
    rbtn_Hex->move(256, 24);
    chk_AutoNewLine = make<QCheckBox>(QStringLiteral("chk_AutoNewLine"), Panel2);
    chk_AutoNewLine->setText(QStringLiteral("自动换行"));
    chk_AutoNewLine->move(319, 24);
    btn_ClearRxmmo = make<QPushButton>(QStringLiteral("btn_ClearRxmmo"), Panel2);
    btn_ClearRxmmo->setText(QStringLiteral("清空接收区"));
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
    chk_SessionLog->setText(QStringLiteral("记录会话到文件"));
    chk_SessionLog->move(17, 56);
    chk_SessionLog->adjustSize();
    chk_SessionLog->setToolTip(QStringLiteral("把收发的每一块数据记录到配置文件旁 logs 文件夹中的文件"));
    setKnownEnglish(chk_SessionLog, QStringLiteral("Log session to file"),
                    QStringLiteral("Record every block sent and received in a file in the logs folder "
                                   "beside config.xml"));
    btn_OpenLogs = make<QPushButton>(QStringLiteral("btn_OpenLogs"), Panel2);
    btn_OpenLogs->setText(QStringLiteral("日志文件夹"));
    btn_OpenLogs->setGeometry(192, 52, 90, 25);
    btn_OpenLogs->setToolTip(QStringLiteral("打开保存会话日志的文件夹"));
    setKnownEnglish(btn_OpenLogs, QStringLiteral("Log folder"),
                    QStringLiteral("Open the folder that holds the session logs"));
    btn_SaveRx = make<QPushButton>(QStringLiteral("btn_SaveRx"), Panel2);
    btn_SaveRx->setText(QStringLiteral("保存接收区"));
    btn_SaveRx->setGeometry(290, 52, 90, 25);
    btn_SaveRx->setToolTip(QStringLiteral("把接收区的内容保存到文件"));
    setKnownEnglish(btn_SaveRx, QStringLiteral("Save receive box"),
                    QStringLiteral("Save the receive box's text to a file"));
    new RowFlow(Panel2, {chk_SessionLog, btn_OpenLogs, btn_SaveRx});

    // Docked bottom-up: the lamp panel at the very bottom, the send line above it.
    Panel3 = make<TPanel>(QStringLiteral("Panel3"), grp_DataRecvAndSend);
    dataDock->dock(Panel3, DockAlign::Bottom, 45);
    mmo_TX = make<QPlainTextEdit>(QStringLiteral("mmo_TX"), grp_DataRecvAndSend);
    dataDock->dock(mmo_TX, DockAlign::Bottom, 69);
    mmo_TX->setFont(templateFont(16, true));
    setControlColor(mmo_TX, palette().color(QPalette::Highlight));
    setFontColor(mmo_TX, clWhite);
    mmo_TX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmo_TX->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    mmo_RX = make<ReceiveLogView>(QStringLiteral("mmo_RX"), grp_DataRecvAndSend);
    dataDock->dock(mmo_RX, DockAlign::Client);
    mmo_RX->setFont(templateFont(16, true));
    setControlColor(mmo_RX, clYellow);
    setFontColor(mmo_RX, clGreen);
    mmo_RX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmo_RX->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    shp_TX = make<TShape>(QStringLiteral("shp_TX"), Panel3);
    shp_TX->setGeometry(17, 10, 20, 20);
    shp_TX->setBrushColor(clOlive);
    lbl_Send = make<QLabel>(QStringLiteral("lbl_Send"), Panel3);
    lbl_Send->setText(QStringLiteral("发送"));
    lbl_Send->move(49, 13);
    setFontColor(lbl_Send, clGreen);
    shp_RX = make<TShape>(QStringLiteral("shp_RX"), Panel3);
    shp_RX->setGeometry(97, 10, 20, 20);
    shp_RX->setBrushColor(clOlive);
    lbl_Recv = make<QLabel>(QStringLiteral("lbl_Recv"), Panel3);
    lbl_Recv->setText(QStringLiteral("接收"));
    lbl_Recv->move(121, 13);
    setFontColor(lbl_Recv, clBlue);
    btn_Send = make<QPushButton>(QStringLiteral("btn_Send"), Panel3);
    btn_Send->setText(QStringLiteral("发送"));
    btn_Send->setGeometry(161, 9, 75, 25);
    lbl_CmdList = make<QLabel>(QStringLiteral("lbl_CmdList"), Panel3);
    lbl_CmdList->setText(QStringLiteral("批处理指令："));
    lbl_CmdList->move(249, 12);
    cmb_CMDS = make<QComboBox>(QStringLiteral("cmb_CMDS"), Panel3);
    cmb_CMDS->setGeometry(313, 9, 128, 24);
    // The user may also type a batch's name; typing never adds to the list.
    cmb_CMDS->setEditable(true);
    cmb_CMDS->setInsertPolicy(QComboBox::NoInsert);
    btn_Cmds = make<QPushButton>(QStringLiteral("btn_Cmds"), Panel3);
    btn_Cmds->setGeometry(408, 6, 75, 25);
    btn_Cmds->hide();

    Splitter1 = make<TSplitter>(QStringLiteral("Splitter1"), this);
    Splitter1->setCursor(Qt::SplitHCursor);
    dock->dock(Splitter1, DockAlign::Left, 3);

    Panel_Right = make<TPanel>(QStringLiteral("Panel_Right"), this);
    dock->dock(Panel_Right, DockAlign::Right, 362);
    Splitter2 = make<TSplitter>(QStringLiteral("Splitter2"), this);
    Splitter2->setCursor(Qt::SplitHCursor);
    dock->dock(Splitter2, DockAlign::Right, 3);

    Panel_Mid = make<TPanel>(QStringLiteral("Panel_Mid"), this);
    dock->dock(Panel_Mid, DockAlign::Client);
    auto* midDock = new DockLayout(Panel_Mid);
    grp_DYNC = make<QGroupBox>(QStringLiteral("grp_DYNC"), Panel_Mid);
    grp_DYNC->setTitle(QStringLiteral("动态指令"));
    setFontColor(grp_DYNC, clGreen);
    midDock->dock(grp_DYNC, DockAlign::Top, 385);
    pg_DYNC = make<QTabWidget>(QStringLiteral("pg_DYNC"), grp_DYNC);
    pg_DYNC->setUsesScrollButtons(false);
    (new DockLayout(grp_DYNC))->dock(pg_DYNC, DockAlign::Client);
    installCommissioning(*this);
    Splitter3 = make<TSplitter>(QStringLiteral("Splitter3"), Panel_Mid);
    Splitter3->setCursor(Qt::SplitVCursor);
    midDock->dock(Splitter3, DockAlign::Top, 3);
    grp_FIX = make<QGroupBox>(QStringLiteral("grp_FIX"), Panel_Mid);
    grp_FIX->setTitle(QStringLiteral("固定指令"));
    grp_FIX->setFont(templateFont(13));
    setFontColor(grp_FIX, clBlack);
    midDock->dock(grp_FIX, DockAlign::Client);
    pg_FIX = make<QTabWidget>(QStringLiteral("pg_FIX"), grp_FIX);
    pg_FIX->setUsesScrollButtons(false);
    (new DockLayout(grp_FIX))->dock(pg_FIX, DockAlign::Client);

    auto* rightDock = new DockLayout(Panel_Right);
    grp_AutoRead = make<QGroupBox>(QStringLiteral("grp_AutoRead"), Panel_Right);
    grp_AutoRead->setTitle(QStringLiteral("自动读取"));
    setFontColor(grp_AutoRead, clGreen);
    rightDock->dock(grp_AutoRead, DockAlign::Client);
    auto* autoDock = new DockLayout(grp_AutoRead);
    Panel1 = make<TPanel>(QStringLiteral("Panel1"), grp_AutoRead);
    autoDock->dock(Panel1, DockAlign::Top, 48);
    chb_AutoRead = make<QCheckBox>(QStringLiteral("chb_AutoRead"), Panel1);
    chb_AutoRead->setText(QStringLiteral("自动读取"));
    chb_AutoRead->move(24, 17);
    edt_AutoReadInte = make<QLineEdit>(QStringLiteral("edt_AutoReadInte"), Panel1);
    edt_AutoReadInte->setText(QStringLiteral("1000"));
    edt_AutoReadInte->setGeometry(152, 13, 65, 24);
    Label1 = make<QLabel>(QStringLiteral("Label1"), Panel1);
    Label1->setText(QStringLiteral("ms"));
    Label1->move(223, 16);
    // How the polling fares: counts, reply times, the device's latest exception. Its text is
    // made from the counts, so it stays out of the language tables and the settings editor.
    lbl_ModbusHealth = new QLabel(grp_AutoRead);
    lbl_ModbusHealth->setObjectName(QStringLiteral("lbl_ModbusHealth"));
    lbl_ModbusHealth->setWordWrap(true);
    lbl_ModbusHealth->setTextInteractionFlags(Qt::TextSelectableByMouse);
    autoDock->dock(lbl_ModbusHealth, DockAlign::Top, 58);
    pg_AUTO = make<QTabWidget>(QStringLiteral("pg_AUTO"), grp_AutoRead);
    pg_AUTO->setUsesScrollButtons(false);
    pg_AUTO->setFont(templateFont(13));
    setFontColor(pg_AUTO, clGreen);
    autoDock->dock(pg_AUTO, DockAlign::Client);
    // Beside the pages whose values it plots; the row above has no room left on small screens.
    btn_Trend = make<QPushButton>(QStringLiteral("btn_Trend"), pg_AUTO);
    btn_Trend->setText(QStringLiteral("趋势图"));
    btn_Trend->setToolTip(QStringLiteral("自动读取数值随时间的曲线"));
    setKnownEnglish(btn_Trend, QStringLiteral("Trend"), QStringLiteral("The automatically read values over time"));
    pg_AUTO->setCornerWidget(btn_Trend, Qt::TopRightCorner);

    // The banner lies over Panel_Top's caption, and the contact label over the banner.
    WaterImage1 = createBanner(Panel_Top);
    lbl_Web->raise();

    tmr_RxLed = make<QTimer>(QStringLiteral("tmr_RxLed"), nullptr);
    tmr_RxLed->setParent(this);
    tmr_RxLed->setInterval(1);
    tmr_TxLed = make<QTimer>(QStringLiteral("tmr_TxLed"), nullptr);
    tmr_TxLed->setParent(this);
    tmr_TxLed->setInterval(1);
    Timer1 = make<QTimer>(QStringLiteral("Timer1"), nullptr);
    Timer1->setParent(this);
    Timer1->setInterval(1000);

    PopupMenu_Skins = new QMenu(this);
    PopupMenu_Skins->setObjectName(QStringLiteral("PopupMenu_Skins"));
    Menu_Skins = PopupMenu_Skins->addAction(QStringLiteral("Skins"));
    Menu_Skins->setObjectName(QStringLiteral("Menu_Skins"));
    // Filled from the theme list once the configuration is read; empty without one.
    Menu_Skins->setMenu(new QMenu(PopupMenu_Skins));

    Comm1 = createComm();
    TrendView = createTrendWindow();

    // Controls that carry the settings editor's right-click menu.
    for (QWidget* w : std::initializer_list<QWidget*>{
             lbl_Web,        btn_Skins,          btn_FirstLanguage, btn_SecondLanguage,
             lbl_Port,       cbb_Port,           lbl_Baud,          cbb_Baud,
             cbb_CheckBit,   cbb_DataBit,        cbb_StopBit,       chk_Reconnect,
             grp_DataRecvAndSend,
             chk_showDT,     chk_autoClearRxmmo, rbtn_Ascii,        rbtn_Hex,
             btn_ClearRxmmo, chk_SessionLog,     btn_OpenLogs,      btn_SaveRx,
             lbl_Send,           lbl_Recv,          btn_Send,
             lbl_CmdList,    grp_Node,           lbl_Node1,         lbl_Node2,
             lbl_Node3,      grp_DYNC,           grp_FIX,           grp_AutoRead,
             chb_AutoRead,   btn_Trend})
        setPopupMenu1(w);
}

void TForm_Main::wireFixedFrame() {
    auto click = [this](QPushButton* b, void (TForm_Main::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    click(btn_Connect, &TForm_Main::btn_ConnectClick);
    click(btn_Send, &TForm_Main::btn_SendClick);
    click(btn_Cmds, &TForm_Main::btn_CmdsClick);
    click(btn_ClearRxmmo, &TForm_Main::btn_ClearRxmmoClick);
    click(btn_OpenLogs, &TForm_Main::btn_OpenLogsClick);
    click(btn_SaveRx, &TForm_Main::btn_SaveRxClick);
    connect(chk_SessionLog, &QCheckBox::toggled, this, [this] { guarded([this] { chk_SessionLogClick(); }); });
    click(btn_Skins, &TForm_Main::btn_SkinsClick);
    click(btn_FirstLanguage, &TForm_Main::btn_FirstLanguageClick);
    click(btn_SecondLanguage, &TForm_Main::btn_SecondLanguageClick);
    click(btn_Trend, &TForm_Main::btn_TrendClick);
    connect(chk_AutoNewLine, &QCheckBox::clicked, this,
            [this] { guarded([this] { chk_AutoNewLineClick(); }); });
    connect(chb_AutoRead, &QCheckBox::toggled, this, [this] { guarded([this] { chb_AutoReadClick(); }); });
    connect(tmr_RxLed, &QTimer::timeout, this, [this] { guarded([this] { tmr_RxLedTimer(); }); });
    connect(tmr_TxLed, &QTimer::timeout, this, [this] { guarded([this] { tmr_TxLedTimer(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    for (QObject* watched :
         std::initializer_list<QObject*>{this, Panel_Mid, pg_DYNC, pg_FIX, lbl_Web, lbl_Send})
        watched->installEventFilter(this);
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == this)
            guarded([this] { FormResize(); });
        else if (watched == Panel_Mid)
            guarded([this] { Panel_MidResize(); });
        else if (watched == pg_DYNC)
            guarded([this] { pg_DYNCResize(); });
        else if (watched == pg_FIX)
            guarded([this] { pg_FIXResize(); });
        break;
    case QEvent::MouseButtonRelease:
        if (watched == lbl_Web && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            guarded([this] { lbl_WebClick(); });
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == lbl_Send)
            guarded([this] { lbl_SendDblClick(); });
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm_Main::guarded(const std::function<void()>& handler) {
    runShowingErrors(handler);
}

void TForm_Main::setPopupMenu1(QWidget* control) {
    control->setProperty("popupMenu1", true);
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    // A right-click on a widget without the menu travels up to the nearest parent that has
    // it. The edit inside an editable choice box would open its own cut-and-paste menu
    // instead, so it hands its right-clicks to the box.
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        combo->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this,
            [this, control] { guarded([this, control] { PopupMenu1Popup(control); }); });
}

bool TForm_Main::hasPopupMenu1(const QWidget* control) {
    return control->property("popupMenu1").toBool();
}

void TForm_Main::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        guarded([this] { FormClose(); });
    }
    event->accept();
}
