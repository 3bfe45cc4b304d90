#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "console/ConsoleWiring.h"
#include "console/protocol/WriteJournal.h"
#include "ui/BuiltInTexts.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

namespace {

const char kObjectName[] = "tervalonCommissioning";
constexpr int kGap = 4;
constexpr int kRowHeight = 29;

// Places the bar's controls left to right at the width their captions need, wrapping onto
// another line where the panel is too narrow, and gives the panel the height they take.
class WrapFlow : public QObject {
public:
    WrapFlow(QWidget* panel, QList<QWidget*> row) : QObject(panel), m_panel(panel), m_row(std::move(row)) {
        panel->installEventFilter(this);
    }

    void apply() {
        // Giving the panel its height lays it out again, which lands here: once is enough.
        if (m_applying)
            return;
        m_applying = true;
        place();
        m_applying = false;
    }

private:
    void place() {
        int x = kGap, y = 2;
        for (QWidget* w : m_row) {
            if (w->isHidden())
                continue;
            const int width = std::max(w->sizeHint().width(), qobject_cast<QProgressBar*>(w) ? 90 : 60);
            if (x > kGap && x + width > m_panel->width() - kGap) {
                x = kGap;
                y += kRowHeight;
            }
            w->setGeometry(x, y, width, kRowHeight - 4);
            x += width + kGap;
        }
        const int height = y + kRowHeight;
        if (DockLayout::extentOf(m_panel) != height)
            DockLayout::setExtent(m_panel, height);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_panel && (event->type() == QEvent::Resize ||
                                   event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
            apply();
        return QObject::eventFilter(watched, event);
    }

    QWidget* m_panel;
    QList<QWidget*> m_row;
    bool m_applying = false;
};

} // namespace

void installCommissioning(TForm_Main& form) {
    form.Console.commissioning = new Commissioning(form);
}

Commissioning* Commissioning::of(const TForm_Main& form) {
    return form.Console.commissioning;
}

Commissioning::Commissioning(TForm_Main& form) : QObject(&form), m_form(form) {
    setObjectName(QString::fromLatin1(kObjectName));
    createBar();
}

// Runs while the window is being torn down, when its members are gone: only this object's
// own state is used.
Commissioning::~Commissioning() {
    flushJournal(false);
}

void Commissioning::createBar() {
    panel = new TPanel(m_form.grp_DYNC);
    panel->setObjectName(QStringLiteral("Panel_Commission"));
    // Its own font, so the group's larger one does not make the bar wrap.
    panel->setFont(m_form.font());
    // caption and hint: QT_TRANSLATE_NOOP("Controls", ...), the built-in texts.
    auto button = [this](const char* name, const char* caption, const char* hint,
                         void (Commissioning::*action)()) {
        auto* b = new QPushButton(panel);
        m_form.RegisterComponent(b, QString::fromLatin1(name));
        setBuiltInTexts(b, caption, hint);
        showBuiltInTexts(b, m_form.language());
        m_form.setPopupMenu1(b);
        connect(b, &QPushButton::clicked, this,
                [this, action] { m_form.guarded([this, action] { (this->*action)(); }); });
        return b;
    };
    btn_ReadPage =
        button("cms_ReadPage", QT_TRANSLATE_NOOP("Controls", "Read page"),
               QT_TRANSLATE_NOOP("Controls", "Read every parameter of this page"), &Commissioning::readPage);
    btn_ReadAll = button("cms_ReadAll", QT_TRANSLATE_NOOP("Controls", "Read all pages"),
                         QT_TRANSLATE_NOOP("Controls", "Read every parameter of every page"),
                         &Commissioning::readAllPages);
    prg_Read = new QProgressBar(panel);
    prg_Read->setObjectName(QStringLiteral("prg_Read"));
    prg_Read->hide();
    btn_CancelRead = button("cms_Cancel", QT_TRANSLATE_NOOP("Controls", "Cancel"),
                            QT_TRANSLATE_NOOP("Controls", "Stop the reading or writing in progress"),
                            &Commissioning::cancel);
    btn_CancelRead->hide();
    btn_SaveSnapshot =
        button("cms_SaveSnapshot", QT_TRANSLATE_NOOP("Controls", "Save snapshot"),
               QT_TRANSLATE_NOOP("Controls", "Save every parameter's current value as a CSV file"),
               &Commissioning::saveSnapshot);
    btn_LoadSnapshot = button("cms_LoadSnapshot", QT_TRANSLATE_NOOP("Controls", "Load snapshot"),
                              QT_TRANSLATE_NOOP("Controls", "Fill the parameters from a snapshot file"),
                              &Commissioning::loadSnapshot);
    btn_Compare = button(
        "cms_Compare", QT_TRANSLATE_NOOP("Controls", "Compare with device"),
        QT_TRANSLATE_NOOP("Controls", "Read all and list the parameters that differ from the snapshot"),
        &Commissioning::compareWithDevice);
    btn_WriteSnapshot =
        button("cms_WriteSnapshot", QT_TRANSLATE_NOOP("Controls", "Write snapshot"),
               QT_TRANSLATE_NOOP(
                   "Controls", "Write only the parameters that differ from the snapshot, and read them back"),
               &Commissioning::writeSnapshot);
    auto* flow = new WrapFlow(panel, {btn_ReadPage, btn_ReadAll, prg_Read, btn_CancelRead, btn_SaveSnapshot,
                                      btn_LoadSnapshot, btn_Compare, btn_WriteSnapshot});
    static_cast<DockLayout*>(m_form.grp_DYNC->layout())->dock(panel, DockAlign::Top, kRowHeight + 2);
    flow->apply();
}

void Commissioning::setBusy(bool busy) {
    m_busy = busy;
    for (QPushButton* b :
         {btn_ReadPage, btn_ReadAll, btn_SaveSnapshot, btn_LoadSnapshot, btn_Compare, btn_WriteSnapshot})
        b->setEnabled(!busy);
    prg_Read->setVisible(busy || prg_Read->value() > 0);
    btn_CancelRead->setVisible(busy);
}

QString Commissioning::tr(const char* source, const char* disambiguation, int n) const {
    return m_form.language().translate("Commissioning", source, disambiguation, n);
}

QString Commissioning::captionOf(const ParameterRow& row) const {
    return row.label ? row.label->text() : row.tag;
}

void Commissioning::mark(const ParameterRow& row, Mark kind, const char* tip, const QStringList& tipArgs) {
    QPointer<QLabel>& label = m_marks[row.value];
    if (kind == Mark::None) {
        if (label)
            label->hide();
        placeMarks();
        return;
    }
    if (!label) {
        label = new QLabel(row.value->parentWidget());
        label->setObjectName(QStringLiteral("mark_") + row.tag);
        setFontColor(label, QColor(255, 0, 0));
    }
    label->setProperty("markKind", static_cast<int>(kind));
    label->setProperty("markTip", QByteArray(tip ? tip : ""));
    label->setProperty("markTipArgs", tipArgs);
    wordMark(label);
    label->show();
    placeMarks();
}

// A mark takes the right end of its row's value box, which gives up that room: right of the
// Write button the row reaches the page's edge, and a mark there would be cut off.
void Commissioning::placeMarks() {
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        QWidget* value = it.key();
        const QLabel* label = it.value();
        const int full = value->property("rowSpanWidth").isValid() ? value->property("rowSpanWidth").toInt()
                                                                   : value->width();
        if (!label || label->isHidden()) {
            value->resize(full, value->height());
            continue;
        }
        const int width = qMax(full - label->width() - 4, value->minimumSizeHint().width());
        value->resize(width, value->height());
        it.value()->move(value->x() + width + 4, value->y() + (value->height() - label->height()) / 2);
    }
}

void Commissioning::wordMark(QLabel* label) const {
    const auto kind = static_cast<Mark>(label->property("markKind").toInt());
    label->setText(kind == Mark::Silent    ? tr("no reply")
                   : kind == Mark::Differs ? tr("differs")
                                           : tr("failed"));
    const QByteArray tip = label->property("markTip").toByteArray();
    QString tipText = tip.isEmpty() ? QString() : tr(tip.constData());
    // All arguments at once: a value holding "%2" must not be taken for a place-holder.
    const QStringList args = label->property("markTipArgs").toStringList();
    if (args.size() == 1)
        tipText = tipText.arg(args[0]);
    else if (args.size() == 2)
        tipText = tipText.arg(args[0], args[1]);
    label->setToolTip(tipText);
    label->adjustSize();
}

void Commissioning::retranslate() {
    for (const QPointer<QLabel>& label : std::as_const(m_marks))
        if (label && !label->isHidden())
            wordMark(label);
}

void Commissioning::clearMarks() {
    for (const QPointer<QLabel>& label : std::as_const(m_marks))
        if (label)
            label->hide();
    placeMarks();
}

QString Commissioning::journalPath() const {
    return m_form.AppDir + QStringLiteral("write-journal.csv");
}
