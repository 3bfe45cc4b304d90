#include "app/MainFrm.h"

#include "ui/Controls.h"
#include "ui/DockLayout.h"
#include "console/protocol/LayoutRules.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

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

void refitScrollBoxes(QTabWidget* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        for (auto* box : tabs->widget(i)->findChildren<TScrollBox*>(Qt::FindDirectChildrenOnly))
            box->fitContent();
}

} // namespace

void TForm_Main::FormResize() {
    const auto figures = layout::columns(width(), lbl_Web->width());
    DockLayout::setExtent(Panel_Left, figures.left);
    DockLayout::setExtent(Panel_Right, figures.right);
    DockLayout::setExtent(Panel_Top, figures.bannerHeight);
    lbl_Web->move(figures.webLeft, lbl_Web->y());
    fitBatchRow();
}

// The batch button is placed right of the batch box at 150 pixels; in a narrow left column
// both shrink so that the button stays whole.
void TForm_Main::fitBatchRow() {
    if (btn_Cmds->isHidden())
        return;
    const auto row = layout::batchRow(cmb_CMDS->x(), 128, 150, Panel3->width() - 4);
    cmb_CMDS->resize(row.box.width, cmb_CMDS->height());
    btn_Cmds->setGeometry(row.button.left, btn_Cmds->y(), row.button.width, btn_Cmds->height());
}

void TForm_Main::Panel_MidResize() {
    DockLayout::setExtent(grp_DYNC, layout::parameterGroupHeight(Panel_Mid->height()));
}

void TForm_Main::pg_DYNCResize() {
    const auto row = layout::parameterRow(pg_DYNC->width(), clientWidthOf(pg_DYNC));
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
        else if (isEdit(w) || isComboBox(w))
            setSpan(w, row.value);
        else if (isPushButton(w))
            setSpan(w,
                    w->objectName().startsWith(QLatin1String("btn_Read")) ? row.readButton : row.writeButton);
    }
    refitScrollBoxes(pg_DYNC);
}

void TForm_Main::pg_FIXResize() {
    const auto row = layout::fixedRow(clientWidthOf(pg_FIX));
    for (QObject* c : Components.all()) {
        auto* w = qobject_cast<QWidget*>(c);
        if (!w || pageControlOf(w) != pg_FIX)
            continue;
        if (isStaticText(w))
            w->resize(row.labelWidth, w->height());
        else if (isPushButton(w))
            setSpan(w, row.button);
    }
    refitScrollBoxes(pg_FIX);
}
