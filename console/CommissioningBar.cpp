#include "console/CommissioningBar.h"

#include "ui/BuiltInTexts.h"
#include "ui/Controls.h"
#include "ui/DockLayout.h"

#include <QEvent>
#include <QProgressBar>
#include <QPushButton>

namespace {

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

CommissioningControls buildCommissioningBar(QWidget* group, const QFont& font, Language language,
                                            const std::function<void(QPushButton*, const QString&)>& enrol) {
    CommissioningControls c;
    auto* panel = new TPanel(group);
    panel->setObjectName(QStringLiteral("Panel_Commission"));
    panel->setFont(font);
    c.panel = panel;
    // caption and hint: QT_TRANSLATE_NOOP("Controls", ...), the built-in texts.
    auto button = [&](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(panel);
        if (enrol)
            enrol(b, QString::fromLatin1(name));
        setBuiltInTexts(b, caption, hint);
        showBuiltInTexts(b, language);
        return b;
    };
    c.readPage = button("cms_ReadPage", QT_TRANSLATE_NOOP("Controls", "Read page"),
                        QT_TRANSLATE_NOOP("Controls", "Read every parameter of this page"));
    c.readAll = button("cms_ReadAll", QT_TRANSLATE_NOOP("Controls", "Read all pages"),
                       QT_TRANSLATE_NOOP("Controls", "Read every parameter of every page"));
    c.progress = new QProgressBar(panel);
    c.progress->setObjectName(QStringLiteral("prg_Read"));
    c.progress->hide();
    c.cancel = button("cms_Cancel", QT_TRANSLATE_NOOP("Controls", "Cancel"),
                      QT_TRANSLATE_NOOP("Controls", "Stop the reading or writing in progress"));
    c.cancel->hide();
    c.saveSnapshot =
        button("cms_SaveSnapshot", QT_TRANSLATE_NOOP("Controls", "Save snapshot"),
               QT_TRANSLATE_NOOP("Controls", "Save every parameter's current value as a CSV file"));
    c.loadSnapshot = button("cms_LoadSnapshot", QT_TRANSLATE_NOOP("Controls", "Load snapshot"),
                            QT_TRANSLATE_NOOP("Controls", "Fill the parameters from a snapshot file"));
    c.compare = button(
        "cms_Compare", QT_TRANSLATE_NOOP("Controls", "Compare with device"),
        QT_TRANSLATE_NOOP("Controls", "Read all and list the parameters that differ from the snapshot"));
    c.writeSnapshot = button(
        "cms_WriteSnapshot", QT_TRANSLATE_NOOP("Controls", "Write snapshot"),
        QT_TRANSLATE_NOOP("Controls",
                          "Write only the parameters that differ from the snapshot, and read them back"));
    auto* flow = new WrapFlow(panel, {c.readPage, c.readAll, c.progress, c.cancel, c.saveSnapshot,
                                      c.loadSnapshot, c.compare, c.writeSnapshot});
    static_cast<DockLayout*>(group->layout())->dock(panel, DockAlign::Top, kRowHeight + 2);
    flow->apply();
    return c;
}
