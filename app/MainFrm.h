#pragma once

#include "config/BatchCommands.h"
#include "config/ConfigRecords.h"
#include "config/Language.h"
#include "config/XmlDocument.h"
#include "console/CommissioningControls.h"
#include "console/ReceiveLogView.h"
#include "console/RowControls.h"
#include "console/protocol/ModbusExchange.h"
#include "device/DeviceSession.h"
#include "device/ParameterModel.h"
#include "ui/ComponentRegistry.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class AutoReading;
class AutoReadingSession;
class Commissioning;
class DockLayout;
class FittedLinesLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTimer;
class TComm;
class Connection;
class Receiving;
class SessionLogging;
class Sending;
class TPanel;
class TShape;
class TSplitter;
class TTabSheet;
class TScrollBox;
class TStaticText;
class TWaterImage;
class PageRowFactory;
enum class PageFamily;
class TrendReading;

// The console's one window: it owns every control, the serial component and the
// configuration state, and its handlers are defined in the files of the subsystem they
// belong to (console/, language/, appearance/); this file and MainFrm.cpp hold the fixed
// frame, start-up and closing.
class TForm_Main : public QWidget {
    Q_OBJECT
public:
    // appDir: the folder holding config.xml and banner.jpg (the executable's folder for the
    // program, a temporary one for tests), with or without trailing separator.
    explicit TForm_Main(const QString& appDir, QWidget* parent = nullptr);
    ~TForm_Main() override;

    // Start-up and closing.
    void FormCreate();
    void FormClose();

    // Component registry: every control in creation order, found by name.
    QObject* FindComponent(const QString& name) const { return Components.find(name); }
    void RegisterComponent(QObject* component, const QString& name) { Components.add(component, name); }
    ComponentRegistry Components;

    // Runs a handler so that an escaping error ends only that handler and is shown in the
    // general error box.
    void guarded(const std::function<void()>& handler);

    // Page building.
    void LoadConfiguration();
    void readBatches(const XmlNode& cmds);
    void buildPageGroup(PageRowFactory& rows, const XmlNode& group, QTabWidget* pages, PageFamily family,
                        QList<TTabSheet*>& sheets);
    void readPollingBlock(const XmlNode& tab, TAutoRead& block);
    void settlePageLooks();

    // Layout.
    void FormResize();
    void Panel_MidResize();
    void pg_DYNCResize();
    void pg_FIXResize();
    void fitBatchRow();
    // Places again what depends on the captions' widths, after they changed (language, edits).
    void refitToCaptions();
    int leftColumnLeast() const;

    // Language.
    void CreateLanguageNode();
    void SetLanguage();
    QString GetLanguageAttributesStr(const QString& componetType, const QString& name,
                                     const QString& attName);
    void btn_FirstLanguageClick();
    void btn_SecondLanguageClick();

    // Control settings editor.
    void PopupMenu1Popup(QWidget* control);

    // Skins.
    void CreateMenu2();
    void btn_SkinsClick();
    void SkinMenuItemClick(QAction* item);
    // Keeps the banner moving also while the window is in the background, and stores the
    // choice in config.xml (SKIN's KeepBannerMoving).
    void Menu_BannerAlwaysClick();


    // Marks a control as carrying the right-click menu of the settings editor.
    void setPopupMenu1(QWidget* control);
    static bool hasPopupMenu1(const QWidget* control);

    // Works on the given configuration file instead of config.xml in the program's folder;
    // banner.jpg is then looked for beside it. Called before FormCreate.
    void UseConfigFile(const QString& path);

    // State.
    QString AppDir; // the folder of the configuration file and the banner, with a trailing '/'
    QString ConfigPath;
    std::unique_ptr<XmlDocument> ConfigDocument;
    // LANGUAGE's value as config.xml holds it; language() is what texts are worded in.
    QString LanguageCode;
    Language language() const { return Language::fromCode(LanguageCode); }
    // The banner picture that could not be loaded (empty when it was): the top panel says so.
    QString BannerErrorPath;
    // Every place the configuration was looked for, and why the user's own file could not be
    // made, for the one message when none was found; empty when the caller named the file.
    QStringList ConfigSearchedPlaces;
    QString ConfigSearchProblem;
    // The start-up refused the file or stopped on an error in it: nothing is written into it
    // for the rest of the run (the choices made still apply, in memory).
    bool ConfigRefused = false;
    QString Web1Address;
    QString Web2Address;
    QList<TTabSheet*> DyncSheets;
    QList<TTabSheet*> FixSheets;
    QList<TCMDS> BatchCommands;
    // Batches left out at start-up for a fault, named once to the user when start-up ends.
    QList<BatchFault> BatchFaults;
    // Other parts of the configuration left unused at start-up, each a line naming it.
    QStringList StartupNotices;
    // Gaps in the language table already named to the user in this session.
    QSet<QString> ReportedLanguageGaps;
    // The device engine: the port, every request and reply. Made with the frame.
    DeviceSession* Device = nullptr;
    // The port, what arrives and the session log, each a part of its own. Made with the frame.
    Connection* connection = nullptr;
    Receiving* receiving = nullptr;
    SessionLogging* sessionLogging = nullptr;
    // Automatic reading's polling over the engine. Made with the frame.
    AutoReadingSession* Polling = nullptr;
    // Automatic reading as shown (ticks, value labels, health line) and its trend chart.
    AutoReading* autoReading = nullptr;
    TrendReading* trendReading = nullptr;
    // The parameter pages as read from config.xml at start-up, and the controls of each
    // parameter's row by its tag.
    ParameterModel Parameters;
    QHash<QString, RowControls> ParameterControls;
    // What the operator sends: row Read/Write, fixed commands, the send box, batches. Made
    // with the frame.
    Sending* sending = nullptr;
    // Reading all, snapshots, comparing and restoring, the journal of writes: the parameter
    // pages' commissioning, with its bar. Made with the frame.
    Commissioning* commissioning = nullptr;

    // Fixed frame.
    TPanel* Panel_Top = nullptr;
    TWaterImage* WaterImage1 = nullptr;
    QLabel* lbl_Web = nullptr;
    TPanel* Panel_Left = nullptr;
    QScrollArea* scr_Left = nullptr; // holds the left column's regions
    TPanel* Panel_Menu = nullptr;
    QPushButton* btn_Skins = nullptr;
    QPushButton* btn_FirstLanguage = nullptr;
    QPushButton* btn_SecondLanguage = nullptr;
    QGroupBox* grp_COMPort = nullptr;
    QLabel* lbl_Port = nullptr;
    QComboBox* cbb_Port = nullptr;
    QLabel* lbl_Baud = nullptr;
    QComboBox* cbb_Baud = nullptr;
    QComboBox* cbb_CheckBit = nullptr;
    QComboBox* cbb_DataBit = nullptr;
    QComboBox* cbb_StopBit = nullptr;
    TShape* shp_led = nullptr;
    QCheckBox* chk_Reconnect = nullptr;
    QPushButton* btn_Connect = nullptr;
    QGroupBox* grp_DataRecvAndSend = nullptr;
    TPanel* Panel2 = nullptr;
    QCheckBox* chk_showDT = nullptr;
    QCheckBox* chk_autoClearRxmmo = nullptr;
    QRadioButton* rbtn_Ascii = nullptr;
    QRadioButton* rbtn_Hex = nullptr;
    QCheckBox* chk_AutoNewLine = nullptr;
    QPushButton* btn_ClearRxmmo = nullptr;
    QCheckBox* chk_SessionLog = nullptr;
    QPushButton* btn_OpenLogs = nullptr;
    QPushButton* btn_SaveRx = nullptr;
    ReceiveLogView* mmo_RX = nullptr;
    QPlainTextEdit* mmo_TX = nullptr;
    TPanel* Panel3 = nullptr;
    TShape* shp_TX = nullptr;
    QLabel* lbl_Send = nullptr;
    TShape* shp_RX = nullptr;
    QLabel* lbl_Recv = nullptr;
    QPushButton* btn_Send = nullptr;
    QLabel* lbl_CmdList = nullptr;
    QComboBox* cmb_CMDS = nullptr;
    QPushButton* btn_Cmds = nullptr;
    QGroupBox* grp_Node = nullptr;
    QLabel* lbl_Node1 = nullptr;
    QLabel* lbl_Node2 = nullptr;
    QLabel* lbl_Node3 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPanel* Panel_Mid = nullptr;
    QGroupBox* grp_DYNC = nullptr;
    QTabWidget* pg_DYNC = nullptr;
    TSplitter* Splitter3 = nullptr;
    QGroupBox* grp_FIX = nullptr;
    QTabWidget* pg_FIX = nullptr;
    TSplitter* Splitter2 = nullptr;
    TPanel* Panel_Right = nullptr;
    QGroupBox* grp_AutoRead = nullptr;
    TPanel* Panel1 = nullptr;
    QCheckBox* chb_AutoRead = nullptr;
    QLineEdit* edt_AutoReadInte = nullptr;
    FittedLinesLabel* lbl_ModbusHealth = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* btn_Trend = nullptr;
    QTabWidget* pg_AUTO = nullptr;

    // Non-visual parts.
    TComm* Comm1 = nullptr;
    QMenu* PopupMenu_Skins = nullptr;
    QAction* Menu_Skins = nullptr;
    QAction* Menu_BannerAlways = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFixedFrame();
    // The frame's regions, made in this order.
    void buildTopPanel(DockLayout* dock);
    void buildMenuBar(DockLayout* leftDock);
    void buildPortGroup(DockLayout* leftDock);
    void buildNotesGroup(DockLayout* leftDock);
    void buildReceiveOptions(DockLayout* dataDock);
    void buildSendArea(DockLayout* dataDock);
    void buildMiddle(DockLayout* dock);
    void buildAutoReadGroup();
    void buildBannerTimersAndMenus();
    // Controls that carry the settings editor's right-click menu.
    void attachEditorMenus();
    void wireFixedFrame();
    // The parts over the device engine, made with it, and the window's wiring of each.
    void wireConnection();
    void wireReceiving();
    void wireSending();
    void buildCommissioningBar();
    void wireCommissioning();
    template <class T> T* make(const QString& name, QWidget* parent);
    // The banner and the serial component, made by their own subsystems.
    TWaterImage* createBanner(QWidget* parent);
    TComm* createComm();
    // Automatic reading and its trend chart, made after the serial component.
    void wireAutoReading();
    void wireTrendReading();
    // Loads banner.jpg into the banner; false with the reason when it cannot.
    bool loadBanner(const QString& path);
    // Names the batches and pages left out for a fault, in one message.
    void noticeStartupProblems();
    // Builds the window from the file; false when the start-up stopped on an error.
    bool buildFromConfiguration();
    // The language tables at start-up; a save they need that is refused is named once and the
    // file is then used read-only, instead of stopping the start-up.
    void createLanguageNodeAtStartup();
    // Closes the port so that no serial thread outlives the window.
    void stopSerialPort();
    bool m_closed = false;
    // Commissioning's bar, made with the parameter group, until the part that works it exists.
    CommissioningControls m_commissioningBar;
};
