#include "app/FrameLook.h"
#include "appearance/ContactLink.h"

#include "ui/ShowingErrors.h"
#include "console/SessionLogging.h"
#include "trend/TrendWindow.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/FittedLinesLabel.h"

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
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

TForm_Main::TForm_Main(const QString& appDir, QWidget* parent) : QWidget(parent) {
    AppDir = QDir::cleanPath(appDir) + QLatin1Char('/');
    ConfigPath = AppDir + QStringLiteral("config.xml");
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Form_Main"));
    setFont(frame::templateFont(11));
    resize(1494, 720);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    createFixedFrame();
    wireFixedFrame();
}

TForm_Main::~TForm_Main() = default;

void TForm_Main::UseConfigFile(const QString& path) {
    const QFileInfo file(path);
    AppDir = QDir::cleanPath(file.absolutePath()) + QLatin1Char('/');
    ConfigPath = file.absoluteFilePath();
    sessionLogging->setFolder(AppDir + QStringLiteral("logs"));
}

// The fixed frame, region by region in the template's order. The order of creation is the
// order of the language tables' entries for a new file, so regions keep their places.
void TForm_Main::createFixedFrame() {
    auto* dock = new DockLayout(this);
    buildTopPanel(dock);

    Panel_Left = make<TPanel>(QStringLiteral("Panel_Left"), this);
    dock->dock(Panel_Left, DockAlign::Left, 481);
    // On a short screen the column scrolls instead of squeezing the receive view to nothing.
    scr_Left = new QScrollArea(Panel_Left);
    scr_Left->setObjectName(QStringLiteral("scr_Left"));
    scr_Left->setFrameShape(QFrame::NoFrame);
    scr_Left->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scr_Left->setWidgetResizable(true);
    scr_Left->setWidget(new QWidget);
    (new DockLayout(Panel_Left))->dock(scr_Left, DockAlign::Client);
    auto* leftDock = new DockLayout(scr_Left->widget());
    buildMenuBar(leftDock);
    buildPortGroup(leftDock);
    buildNotesGroup(leftDock);
    grp_DataRecvAndSend = make<QGroupBox>(QStringLiteral("grp_DataRecvAndSend"), scr_Left->widget());
    giveBuiltInTexts(grp_DataRecvAndSend, QT_TRANSLATE_NOOP("Controls", "Receive and send"));
    leftDock->dock(grp_DataRecvAndSend, DockAlign::Client);
    auto* dataDock = new DockLayout(grp_DataRecvAndSend);
    buildReceiveOptions(dataDock);
    buildSendArea(dataDock);

    buildMiddle(dock);
    buildAutoReadGroup();
    buildBannerTimersAndMenus();
    attachEditorMenus();
}

void TForm_Main::buildTopPanel(DockLayout* dock) {
    Panel_Top = make<TPanel>(QStringLiteral("Panel_Top"), this);
    Panel_Top->setCaption(QStringLiteral("1111"));
    dock->dock(Panel_Top, DockAlign::Top, 97);
    lbl_Web = make<QLabel>(QStringLiteral("lbl_Web"), Panel_Top);
    giveBuiltInTexts(lbl_Web, QT_TRANSLATE_NOOP("Controls", "Contact us"));
    setBuiltInAccessibleDescription(lbl_Web,
                                    QT_TRANSLATE_NOOP("Controls", "Link: opens the contact address"));
    lbl_Web->setGeometry(1224, 1, 97, 24);
    {
        QFont f = frame::templateFont(16);
        f.setItalic(true);
        f.setUnderline(true);
        lbl_Web->setFont(f);
    }
    setFontColor(lbl_Web, frame::white);
    lbl_Web->setCursor(Qt::PointingHandCursor);
    lbl_Web->setAttribute(Qt::WA_TranslucentBackground);
}

// The splitters, the right column's place, and the parameter and fixed-command groups.
void TForm_Main::buildMiddle(DockLayout* dock) {
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
    giveBuiltInTexts(grp_DYNC, QT_TRANSLATE_NOOP("Controls", "Parameters"));
    setFontColor(grp_DYNC, frame::green);
    midDock->dock(grp_DYNC, DockAlign::Top, 385);
    pg_DYNC = make<QTabWidget>(QStringLiteral("pg_DYNC"), grp_DYNC);
    // Where a column is too narrow for all its page tabs, arrows reach the rest.
    pg_DYNC->setUsesScrollButtons(true);
    (new DockLayout(grp_DYNC))->dock(pg_DYNC, DockAlign::Client);
    buildCommissioningBar();
    Splitter3 = make<TSplitter>(QStringLiteral("Splitter3"), Panel_Mid);
    Splitter3->setCursor(Qt::SplitVCursor);
    midDock->dock(Splitter3, DockAlign::Top, 3);
    grp_FIX = make<QGroupBox>(QStringLiteral("grp_FIX"), Panel_Mid);
    giveBuiltInTexts(grp_FIX, QT_TRANSLATE_NOOP("Controls", "Fixed commands"));
    grp_FIX->setFont(frame::templateFont(13));
    setFontColor(grp_FIX, frame::black);
    midDock->dock(grp_FIX, DockAlign::Client);
    pg_FIX = make<QTabWidget>(QStringLiteral("pg_FIX"), grp_FIX);
    pg_FIX->setUsesScrollButtons(true);
    (new DockLayout(grp_FIX))->dock(pg_FIX, DockAlign::Client);
}

void TForm_Main::buildAutoReadGroup() {
    auto* rightDock = new DockLayout(Panel_Right);
    grp_AutoRead = make<QGroupBox>(QStringLiteral("grp_AutoRead"), Panel_Right);
    giveBuiltInTexts(grp_AutoRead, QT_TRANSLATE_NOOP("Controls", "Auto read"));
    setFontColor(grp_AutoRead, frame::green);
    rightDock->dock(grp_AutoRead, DockAlign::Client);
    auto* autoDock = new DockLayout(grp_AutoRead);
    Panel1 = make<TPanel>(QStringLiteral("Panel1"), grp_AutoRead);
    autoDock->dock(Panel1, DockAlign::Top, 48);
    chb_AutoRead = make<QCheckBox>(QStringLiteral("chb_AutoRead"), Panel1);
    giveBuiltInTexts(chb_AutoRead, QT_TRANSLATE_NOOP("Controls", "Auto read"));
    chb_AutoRead->move(24, 17);
    edt_AutoReadInte = make<QLineEdit>(QStringLiteral("edt_AutoReadInte"), Panel1);
    edt_AutoReadInte->setText(QStringLiteral("1000"));
    edt_AutoReadInte->setGeometry(152, 13, 65, 24);
    Label1 = make<QLabel>(QStringLiteral("Label1"), Panel1);
    Label1->setText(QStringLiteral("ms"));
    Label1->move(223, 16);
    // How the polling fares: counts, reply times, the device's latest exception. Its text is
    // made from the counts, so it stays out of the language tables and the settings editor.
    lbl_ModbusHealth = new FittedLinesLabel(4, grp_AutoRead);
    lbl_ModbusHealth->setObjectName(QStringLiteral("lbl_ModbusHealth"));
    lbl_ModbusHealth->setTextInteractionFlags(Qt::TextSelectableByMouse);
    autoDock->dock(lbl_ModbusHealth, DockAlign::Top, lbl_ModbusHealth->neededHeight());
    pg_AUTO = make<QTabWidget>(QStringLiteral("pg_AUTO"), grp_AutoRead);
    pg_AUTO->setUsesScrollButtons(true);
    pg_AUTO->setFont(frame::templateFont(13));
    setFontColor(pg_AUTO, frame::green);
    autoDock->dock(pg_AUTO, DockAlign::Client);
    // Beside the pages whose values it plots; the row above has no room left on small screens.
    btn_Trend = make<QPushButton>(QStringLiteral("btn_Trend"), pg_AUTO);
    giveBuiltInTexts(btn_Trend, QT_TRANSLATE_NOOP("Controls", "Trend"),
                     QT_TRANSLATE_NOOP("Controls", "The automatically read values over time"));
    pg_AUTO->setCornerWidget(btn_Trend, Qt::TopRightCorner);
}

void TForm_Main::buildBannerTimersAndMenus() {
    // The banner lies over Panel_Top's caption, and the contact label over the banner.
    WaterImage1 = createBanner(Panel_Top);
    lbl_Web->raise();


    PopupMenu_Skins = new QMenu(this);
    PopupMenu_Skins->setObjectName(QStringLiteral("PopupMenu_Skins"));
    Menu_Skins = PopupMenu_Skins->addAction(QStringLiteral("Skins"));
    Menu_Skins->setObjectName(QStringLiteral("Menu_Skins"));
    // Filled from the theme list once the configuration is read; empty without one.
    Menu_Skins->setMenu(new QMenu(PopupMenu_Skins));

    Comm1 = createComm();
    wireAutoReading();
    wireTrendReading();
    wireConnection();
    wireReceiving();
}

void TForm_Main::attachEditorMenus() {
    for (QWidget* w : std::initializer_list<QWidget*>{lbl_Web,
                                                      btn_Skins,
                                                      btn_FirstLanguage,
                                                      btn_SecondLanguage,
                                                      lbl_Port,
                                                      cbb_Port,
                                                      lbl_Baud,
                                                      cbb_Baud,
                                                      cbb_CheckBit,
                                                      cbb_DataBit,
                                                      cbb_StopBit,
                                                      chk_Reconnect,
                                                      grp_DataRecvAndSend,
                                                      chk_showDT,
                                                      chk_autoClearRxmmo,
                                                      rbtn_Ascii,
                                                      rbtn_Hex,
                                                      btn_ClearRxmmo,
                                                      chk_SessionLog,
                                                      btn_OpenLogs,
                                                      btn_SaveRx,
                                                      lbl_Send,
                                                      lbl_Recv,
                                                      btn_Send,
                                                      lbl_CmdList,
                                                      grp_Node,
                                                      lbl_Node1,
                                                      lbl_Node2,
                                                      lbl_Node3,
                                                      grp_DYNC,
                                                      grp_FIX,
                                                      grp_AutoRead,
                                                      chb_AutoRead,
                                                      btn_Trend})
        setPopupMenu1(w);
}

void TForm_Main::wireFixedFrame() {
    auto click = [this](QPushButton* b, void (TForm_Main::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    wireSending();
    click(btn_Skins, &TForm_Main::btn_SkinsClick);
    click(btn_FirstLanguage, &TForm_Main::btn_FirstLanguageClick);
    click(btn_SecondLanguage, &TForm_Main::btn_SecondLanguageClick);
    for (QObject* watched :
         std::initializer_list<QObject*>{this, Panel_Mid, pg_DYNC, pg_FIX, Panel3, lbl_Web, lbl_Send})
        watched->installEventFilter(this);
    wireCommissioning();
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
        else if (watched == Panel3)
            guarded([this] { fitBatchRow(); });
        break;
    case QEvent::MouseButtonRelease:
        if (watched == lbl_Web && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            guarded([this] { OpenContactLink(Web1Address, Web2Address, language()); });
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == lbl_Send)
            guarded([] { CopyContactClipboardText(); });
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm_Main::guarded(const std::function<void()>& handler) {
    runShowingErrors(handler, language());
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
