#include "app/MainFrm.h"

#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "ui/WindowTitle.h"
#include "config/AppError.h"
#include "config/BatchCommands.h"
#include "config/PollingBlock.h"
#include "config/SplitByDelimiter.h"
#include "config/StrToInt.h"
#include "config/TextScrambler.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/PageTheme.h"
#include "ui/ControlCaption.h"

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

    setWindowTitle(root.readAttribute(QStringLiteral("appName")));
    setWindowTitle(WindowTitleFor(QStringLiteral("CN"), windowTitle()));

    lbl_Web->setToolTip(root.readAttribute(QStringLiteral("web1")));
    Web1Address = UnscrambleText(root.readAttribute(QStringLiteral("web1")), web1ScrambleKey);
    Web2Address = UnscrambleText(root.readAttribute(QStringLiteral("web2")), web2ScrambleKey);

    applyConfiguredTheme(
        requireSection(root, QStringLiteral("SKIN")).readAttribute(QStringLiteral("SkinFile")));

    const XmlNode comm = requireSection(root, QStringLiteral("COMM"));
    PortSettings.Port = comm.readAttribute(QStringLiteral("Port"));
    PortSettings.Baud = comm.readAttribute(QStringLiteral("Baud"));
    PortSettings.Parity = comm.readAttribute(QStringLiteral("Parity"));
    PortSettings.ByteSize = comm.readAttribute(QStringLiteral("ByteSize"));
    PortSettings.StopBits = comm.readAttribute(QStringLiteral("StopBits"));
    PortSettingsLoaded = true;
    cbb_Port->setCurrentText(PortSettings.Port);
    cbb_Baud->setCurrentText(PortSettings.Baud);
    cbb_CheckBit->setCurrentText(PortSettings.Parity);
    cbb_DataBit->setCurrentText(PortSettings.ByteSize);
    cbb_StopBit->setCurrentText(PortSettings.StopBits);
    // Off unless the file asks for it: files written before the option lack the attribute.
    chk_Reconnect->setChecked(comm.attributeEquals(QStringLiteral("Reconnect"), QStringLiteral("1")));

    // Batches are optional: any fault ends this step silently and the build goes on.
    try {
        const XmlNode cmds = requireSection(root, QStringLiteral("CMDS"));
        if (cmds.attributeEquals(QStringLiteral("showButton"), QStringLiteral("1"))) {
            setControlCaption(btn_Cmds, cmds.readAttribute(QStringLiteral("caption")));
            btn_Cmds->setGeometry(cmb_CMDS->x() + cmb_CMDS->width() + 8, btn_Send->y(), 150,
                                  btn_Cmds->height());
            btn_Cmds->show();
        }
        BatchCommands.clear();
        BatchFaults.clear();
        cmb_CMDS->clear();
        QStringList captions;
        ReadBatchCommands(cmds, BatchCommands, captions, &BatchFaults);
        cmb_CMDS->addItems(captions);
    } catch (const AppError&) {
    }

    const XmlNode node = requireSection(root, QStringLiteral("NODE"));
    setControlCaption(lbl_Node1, node.readAttribute(QStringLiteral("node1")));
    setControlCaption(lbl_Node2, node.readAttribute(QStringLiteral("node2")));
    setControlCaption(lbl_Node3, node.readAttribute(QStringLiteral("node3")));

    LanguageCode = requireSection(root, QStringLiteral("LANGUAGE")).readAttribute(QStringLiteral("value"));

    PageRowFactory rows(*this);

    const XmlNode dync = requireSection(root, QStringLiteral("GROUP_DYNC"));
    const int dyncCount = dync.childCount();
    DyncSheets.clear();
    DyncSheets.reserve(dyncCount);
    for (int r = 0; r < dyncCount; ++r) {
        const XmlNode tab = dync.child(r);
        PageRowFactory::Page page = rows.addPage(pg_DYNC, tab, PageFamily::Parameter);
        DyncSheets.append(page.sheet);
        const int count = tab.childCount();
        for (int p = 0; p < count; ++p) {
            const XmlNode item = tab.child(p);
            if (ItemLookupIndex::isSeparator(item.tagName()))
                rows.addSeparator(page, p);
            else
                rows.addParameterRow(page, item, p);
        }
        page.box->fitContent();
    }

    const XmlNode fix = requireSection(root, QStringLiteral("GROUP_FIX"));
    const int fixCount = fix.childCount();
    FixSheets.clear();
    FixSheets.reserve(fixCount);
    for (int r = 0; r < fixCount; ++r) {
        const XmlNode tab = fix.child(r);
        PageRowFactory::Page page = rows.addPage(pg_FIX, tab, PageFamily::Fixed);
        FixSheets.append(page.sheet);
        const int count = tab.childCount();
        for (int p = 0; p < count; ++p)
            rows.addFixedRow(page, tab.child(p), p);
        page.box->fitContent();
    }

    const XmlNode autoGroup = requireSection(root, QStringLiteral("GROUP_AUTO"));
    const int autoCount = autoGroup.childCount();
    AutoSheets.clear();
    AutoReads.clear();
    StartupNotices.clear();
    AutoSheets.reserve(autoCount);
    AutoReads.reserve(autoCount);
    for (int r = 0; r < autoCount; ++r) {
        const XmlNode tab = autoGroup.child(r);
        PageRowFactory::Page page = rows.addPage(pg_AUTO, tab, PageFamily::AutoRead);
        // Sheet and record stay index-aligned even when the build stops inside the page; a
        // record left empty is simply not polled.
        AutoSheets.append(page.sheet);
        AutoReads.append(TAutoRead{});
        const int count = tab.childCount();
        for (int p = 0; p < count; ++p)
            rows.addAutoReadRow(page, tab.child(p), p);
        page.box->fitContent();
        TAutoRead& block = AutoReads.last();
        block.pro = tab.readAttribute(QStringLiteral("protocol"));
        block.equAddr = StrToInt(tab.readAttribute(QStringLiteral("equAddr")));
        block.startAddr = StrToInt(tab.readAttribute(QStringLiteral("startReg")));
        block.readSize = StrToInt(tab.readAttribute(QStringLiteral("regLen")));
        // A block no device can answer is named once and not polled, instead of sending a
        // request that silently never matches or carries the count's low 16 bits.
        if (const QString problem = PollingBlockProblem(block, tab.readAttribute(QStringLiteral("caption")));
            !problem.isEmpty()) {
            StartupNotices.append(problem);
            block.pro.clear();
        }
    }

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
