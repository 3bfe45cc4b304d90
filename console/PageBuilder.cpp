#include "app/MainFrm.h"

#include "appearance/WaterImage.h"
#include "config/AppError.h"
#include "config/BatchCommands.h"
#include "config/PollingBlock.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/TextScrambler.h"
#include "console/AutoReading.h"
#include "console/Connection.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/PageTheme.h"
#include "ui/ControlCaption.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/WindowTitle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QColor clGreen(0, 128, 0);

// The window's code expects every section; naming the missing one tells the user what to
// add instead of failing later on an unrelated read.
XmlNode requireSection(const XmlNode& root, const QString& name) {
    XmlNode section = root.findChild(name);
    if (section.isNull())
        throw AppError(QStringLiteral("The configuration file has no element TERVALON/%1").arg(name));
    return section;
}

// Children of the page groups stop following their parent's font, so the groups' later
// change to 12 points leaves tab captions and rows as they were placed.
void keepOwnFont(QWidget* w) {
    QFont f = w->font();
    f.setResolveMask(QFont::AllPropertiesResolved);
    w->setFont(f);
}

void setGroupPointSize(QGroupBox* group, int points) {
    QFont f = group->font();
    f.setPointSize(points);
    group->setFont(f);
}

} // namespace

void TForm_Main::LoadConfiguration() {
    const XmlNode root = ConfigDocument->findRoot();
    if (root.isNull())
        throw AppError(QStringLiteral("The configuration file has no element TERVALON"));

    setWindowTitle(WindowTitleFor(Language::chinese(), root.readAttribute(QStringLiteral("appName"))));
    lbl_Web->setToolTip(root.readAttribute(QStringLiteral("web1")));
    Web1Address = UnscrambleText(root.readAttribute(QStringLiteral("web1")), web1ScrambleKey);
    Web2Address = UnscrambleText(root.readAttribute(QStringLiteral("web2")), web2ScrambleKey);
    const XmlNode skin = requireSection(root, QStringLiteral("SKIN"));
    applyConfiguredTheme(skin.readAttribute(QStringLiteral("SkinFile")));
    // Off unless the file asks for it: the banner rests while the window is in the background.
    const bool bannerAlways = skin.attributeEquals(QStringLiteral("KeepBannerMoving"), QStringLiteral("1"));
    Menu_BannerAlways->setChecked(bannerAlways);
    WaterImage1->SetRunsInBackground(bannerAlways);

    connection->loadSettings(requireSection(root, QStringLiteral("COMM")));
    // Batches are optional: any fault ends this step silently and the build goes on.
    try {
        readBatches(requireSection(root, QStringLiteral("CMDS")));
    } catch (const AppError&) {
    }
    const XmlNode node = requireSection(root, QStringLiteral("NODE"));
    setControlCaption(lbl_Node1, node.readAttribute(QStringLiteral("node1")));
    setControlCaption(lbl_Node2, node.readAttribute(QStringLiteral("node2")));
    setControlCaption(lbl_Node3, node.readAttribute(QStringLiteral("node3")));
    LanguageCode = requireSection(root, QStringLiteral("LANGUAGE")).readAttribute(QStringLiteral("value"));

    Parameters = ParameterModel::fromDocument(*ConfigDocument);
    ParameterControls.clear();
    PageRowFactory rows(*this);
    autoReading->pages().blocks.clear();
    StartupNotices.clear();
    buildPageGroup(rows, requireSection(root, QStringLiteral("GROUP_DYNC")), pg_DYNC, PageFamily::Parameter,
                   DyncSheets);
    buildPageGroup(rows, requireSection(root, QStringLiteral("GROUP_FIX")), pg_FIX, PageFamily::Fixed,
                   FixSheets);
    buildPageGroup(rows, requireSection(root, QStringLiteral("GROUP_AUTO")), pg_AUTO, PageFamily::AutoRead,
                   autoReading->pages().sheets);
    settlePageLooks();
}

void TForm_Main::readBatches(const XmlNode& cmds) {
    if (cmds.attributeEquals(QStringLiteral("showButton"), QStringLiteral("1"))) {
        setControlCaption(btn_Cmds, cmds.readAttribute(QStringLiteral("caption")));
        btn_Cmds->setGeometry(cmb_CMDS->x() + cmb_CMDS->width() + 8, btn_Send->y(), 150, btn_Cmds->height());
        btn_Cmds->show();
    }
    BatchCommands.clear();
    BatchFaults.clear();
    cmb_CMDS->clear();
    QStringList captions;
    ReadBatchCommands(cmds, BatchCommands, captions, &BatchFaults);
    cmb_CMDS->addItems(captions);
}

// One tab control's pages from a GROUP_* section, each with its rows. An automatic-reading
// page also gets its polling record, index-aligned with its sheet even when the build stops
// inside the page: a record left empty is simply not polled.
void TForm_Main::buildPageGroup(PageRowFactory& rows, const XmlNode& group, QTabWidget* pages,
                                PageFamily family, QList<TTabSheet*>& sheets) {
    const int pageCount = group.childCount();
    sheets.clear();
    sheets.reserve(pageCount);
    for (int r = 0; r < pageCount; ++r) {
        const XmlNode tab = group.child(r);
        PageRowFactory::Page page = rows.addPage(pages, tab, family);
        sheets.append(page.sheet);
        if (family == PageFamily::AutoRead)
            autoReading->pages().blocks.append(TAutoRead{});
        const int count = tab.childCount();
        for (int p = 0; p < count; ++p)
            rows.addRow(family, page, tab.child(p), p);
        page.box->fitContent();
        if (family == PageFamily::AutoRead)
            readPollingBlock(tab, autoReading->pages().blocks.last());
    }
}

void TForm_Main::readPollingBlock(const XmlNode& tab, TAutoRead& block) {
    block.pro = tab.readAttribute(QStringLiteral("protocol"));
    block.equAddr = StrToInt(tab.readAttribute(QStringLiteral("equAddr")));
    block.startAddr = StrToInt(tab.readAttribute(QStringLiteral("startReg")));
    block.readSize = StrToInt(tab.readAttribute(QStringLiteral("regLen")));
    // A block no device can answer is named once and not polled, instead of sending a
    // request that silently never matches or carries the count's low 16 bits.
    if (const QString problem =
            PollingBlockProblem(block, tab.readAttribute(QStringLiteral("caption")), language());
        !problem.isEmpty()) {
        StartupNotices.append(problem);
        block.pro.clear();
    }
}

void TForm_Main::settlePageLooks() {
    for (QTabWidget* pages : {pg_DYNC, pg_FIX, pg_AUTO})
        keepOwnFont(pages);
    // Restyling a group restyles every row inside it, so a group already green stays as it is.
    for (QGroupBox* group : {grp_Node, grp_DYNC, grp_FIX})
        if (fontColor(group) != clGreen)
            setFontColor(group, clGreen);
    for (QGroupBox* group : {grp_COMPort, grp_DataRecvAndSend, grp_Node, grp_DYNC, grp_FIX, grp_AutoRead})
        setGroupPointSize(group, 12);
    grp_Node->update();
    for (QTabWidget* pages : {pg_DYNC, pg_FIX, pg_AUTO})
        DockLayout::redock(pages);
}
