#include "app/MainFrm.h"

#include "console/Commissioning.h"
#include "console/protocol/LayoutRules.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <algorithm>

namespace {

// The tab control whose page holds this control's scroll box, if any.
QTabWidget* pageControlOf(QWidget* control) {
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (auto* box = qobject_cast<TScrollBox*>(w)) {
            for (QWidget* up = box->parentWidget(); up; up = up->parentWidget())
                if (auto* tabs = qobject_cast<QTabWidget*>(up))
                    return tabs;
            return nullptr;
        }
    }
    return nullptr;
}

// The client width of a tab control: its width less a 2-pixel border on each side. Taken
// from the control itself, since its pages are resized only after it has been.
int clientWidthOf(QTabWidget* tabs) {
    return tabs->width() - 4;
}

void setSpan(QWidget* w, const layout::Span& span) {
    w->setGeometry(span.left, w->y(), span.width, w->height());
}

// What a control's caption needs to be read whole.
int captionNeed(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() +
               2 * label->frameWidth() + 2;
    return w->sizeHint().width();
}

// The widest need of the page controls of one tab control, per kind of control.
struct RowNeeds {
    int label = 0;
    int value = 0;
    int button = 0;
};

RowNeeds rowNeedsOf(const QList<QWidget*>& controls) {
    RowNeeds needs;
    for (QWidget* w : controls) {
        if (isStaticText(w))
            needs.label = qMax(needs.label, captionNeed(w));
        else if (isEdit(w) || isComboBox(w))
            needs.value = qMax(needs.value, w->minimumSizeHint().width());
        else if (isPushButton(w))
            needs.button = qMax(needs.button, captionNeed(w));
    }
    return needs;
}

void refitScrollBoxes(QTabWidget* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        for (auto* box : tabs->widget(i)->findChildren<TScrollBox*>(Qt::FindDirectChildrenOnly))
            box->fitContent();
}

} // namespace

namespace {

int extentsOf(std::initializer_list<QWidget*> docked) {
    int sum = 0;
    for (QWidget* w : docked)
        if (!w->isHidden())
            sum += DockLayout::extentOf(w);
    return sum;
}

} // namespace

// The height the left column's regions need: each fixed region at its height, and the
// receive view at least four lines of its font.
int TForm_Main::leftColumnLeast() const {
    const int view = 4 * mmo_RX->fontMetrics().lineSpacing() + 2 * mmo_RX->frameWidth() +
                     mmo_RX->horizontalScrollBar()->sizeHint().height();
    return extentsOf({Panel_Menu, grp_COMPort, grp_Node, Panel2, mmo_TX, Panel3}) + view;
}

void TForm_Main::FormResize() {
    const auto figures = layout::columns(width(), lbl_Web->width());
    const int least = leftColumnLeast();
    scr_Left->widget()->setMinimumHeight(least);
    // Where the column scrolls, its scroll bar takes room of its own, not the controls'.
    const bool scrolls = height() - figures.bannerHeight < least;
    DockLayout::setExtent(Panel_Left,
                          figures.left + (scrolls ? scr_Left->verticalScrollBar()->sizeHint().width() : 0));
    DockLayout::setExtent(Panel_Right, figures.right);
    DockLayout::setExtent(Panel_Top, figures.bannerHeight);
    lbl_Web->move(figures.webLeft, lbl_Web->y());
    fitBatchRow();
}

// The send row: lamps, Send, then the batch label, box and button. The batch box is as wide
// as its longest name needs (at least the designed 128) and its button as its caption needs
// (at least the designed 150 where there is room). Where the column is too narrow for all of
// it on one line, the batch part moves to a line of its own below, so that nothing is cut.
void TForm_Main::fitBatchRow() {
    const int gap = 8;
    const int rowRight = Panel3->width() - 4;
    const QFontMetrics boxFont = cmb_CMDS->fontMetrics();
    int boxNeed = boxFont.horizontalAdvance(cmb_CMDS->currentText());
    for (int i = 0; i < cmb_CMDS->count(); ++i)
        boxNeed = qMax(boxNeed, boxFont.horizontalAdvance(cmb_CMDS->itemText(i)));
    // The arrow and the frames: what the box keeps beside its text field.
    const int boxChrome = cmb_CMDS->lineEdit() && cmb_CMDS->lineEdit()->width() > 0
                              ? cmb_CMDS->width() - cmb_CMDS->lineEdit()->width()
                              : 30;
    boxNeed += boxChrome + 8;
    const bool withButton = !btn_Cmds->isHidden();
    const int buttonNeed = withButton ? btn_Cmds->sizeHint().width() : 0;
    const int labelNeed = lbl_CmdList->sizeHint().width();

    const int firstLeft = qMax(249, btn_Send->geometry().right() + 13);
    const int oneLine = firstLeft + labelNeed + 4 + boxNeed + (withButton ? gap + buttonNeed : 0);
    const bool twoLines = oneLine > rowRight;
    const int left = twoLines ? 17 : firstLeft;
    const int top = twoLines ? 45 : 9;
    lbl_CmdList->move(left, top + 3);
    lbl_CmdList->resize(labelNeed, lbl_CmdList->height());
    const int boxLeft = twoLines ? left + labelNeed + 4 : qMax(313, left + labelNeed + 4);
    const auto row = layout::batchRow(boxLeft, qMax(128, boxNeed), qMax(withButton ? 150 : 0, buttonNeed),
                                      rowRight, boxNeed, buttonNeed);
    cmb_CMDS->setGeometry(row.box.left, top,
                          withButton ? row.box.width : qMin(qMax(128, boxNeed), rowRight - boxLeft),
                          cmb_CMDS->height());
    if (withButton)
        btn_Cmds->setGeometry(row.button.left, top - 3, row.button.width, btn_Cmds->height());
    DockLayout::setExtent(Panel3, twoLines ? 45 + 36 : 45);
    scr_Left->widget()->setMinimumHeight(leftColumnLeast());
}

void TForm_Main::refitToCaptions() {
    fitBatchRow();
    pg_DYNCResize();
    pg_FIXResize();
}

void TForm_Main::Panel_MidResize() {
    DockLayout::setExtent(grp_DYNC, layout::parameterGroupHeight(Panel_Mid->height()));
}

// The rows take their proportions of the tab control's width, but never less than their
// captions need in the current language and font: below that the page scrolls sideways
// instead of cutting captions and squeezing the buttons to blank stubs.
void TForm_Main::pg_DYNCResize() {
    QList<QWidget*> onPages;
    for (QObject* c : Components.all())
        if (auto* w = qobject_cast<QWidget*>(c); w && pageControlOf(w) == pg_DYNC)
            onPages << w;
    const RowNeeds needs = rowNeedsOf(onPages);
    const int width =
        std::max({pg_DYNC->width(), 3 * needs.label, 3 * (needs.value + 8), 6 * (needs.button + 16)});
    const auto row = layout::parameterRow(width, clientWidthOf(pg_DYNC) + width - pg_DYNC->width());
    for (QObject* c : Components.all()) {
        auto* w = qobject_cast<QWidget*>(c);
        if (!w)
            continue;
        if (isPanel(w) && w->height() == 3) {
            w->resize(row.separatorWidth, 3);
            continue;
        }
        if (pageControlOf(w) != pg_DYNC)
            continue;
        if (isStaticText(w))
            w->resize(row.labelWidth, w->height());
        else if (isEdit(w) || isComboBox(w)) {
            setSpan(w, row.value);
            w->setProperty("rowSpanWidth", row.value.width);
        } else if (isPushButton(w))
            setSpan(w,
                    w->objectName().startsWith(QLatin1String("btn_Read")) ? row.readButton : row.writeButton);
    }
    if (commissioning)
        commissioning->placeMarks();
    refitScrollBoxes(pg_DYNC);
}

void TForm_Main::pg_FIXResize() {
    QList<QWidget*> onPages;
    for (QObject* c : Components.all())
        if (auto* w = qobject_cast<QWidget*>(c); w && pageControlOf(w) == pg_FIX)
            onPages << w;
    // The label's text ends before its button, which starts 12 pixels left of the middle.
    const RowNeeds needs = rowNeedsOf(onPages);
    const auto row =
        layout::fixedRow(std::max({clientWidthOf(pg_FIX), 2 * (needs.label + 12), 2 * (needs.button + 16)}));
    for (QWidget* w : onPages) {
        if (isStaticText(w))
            w->resize(row.labelWidth, w->height());
        else if (isPushButton(w))
            setSpan(w, row.button);
    }
    refitScrollBoxes(pg_FIX);
}
