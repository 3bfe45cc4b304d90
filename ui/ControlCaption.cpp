#include "ui/ControlCaption.h"

#include "ui/Controls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace {

QTabWidget* tabControlOfSheet(const TTabSheet* sheet, int* index) {
    for (QWidget* p = sheet->parentWidget(); p; p = p->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
            *index = tabs->indexOf(const_cast<TTabSheet*>(sheet));
            return *index >= 0 ? tabs : nullptr;
        }
    return nullptr;
}

const QString ampersand = QStringLiteral("&");
const QString doubled = QStringLiteral("&&");

// Widgets that take "&" as a shortcut marker show a doubled one as itself.
QString escaped(const QString& written) {
    return shownCaption(written).replace(ampersand, doubled);
}

QString unescaped(const QString& widgetText) {
    return QString(widgetText).replace(doubled, ampersand);
}

} // namespace

QString shownCaption(const QString& written) {
    return QString(written).replace(doubled, ampersand);
}

QString controlCaption(const QObject* control) {
    if (auto* group = qobject_cast<const QGroupBox*>(control))
        return unescaped(group->title());
    if (auto* sheet = qobject_cast<const TTabSheet*>(control)) {
        int index = -1;
        QTabWidget* tabs = tabControlOfSheet(sheet, &index);
        return tabs ? unescaped(tabs->tabText(index)) : QString();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return unescaped(button->text());
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return {};
}

void setControlCaption(QObject* control, const QString& caption) {
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(escaped(caption));
    } else if (auto* sheet = qobject_cast<TTabSheet*>(control)) {
        int index = -1;
        if (QTabWidget* tabs = tabControlOfSheet(sheet, &index))
            tabs->setTabText(index, escaped(caption));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(escaped(caption));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        // A label without a buddy shows "&" as it is.
        label->setText(shownCaption(caption));
    }
}

QTabWidget* pageControlOf(const QObject* control) {
    auto* w = qobject_cast<const QWidget*>(control);
    const TScrollBox* box = nullptr;
    for (QWidget* p = w ? w->parentWidget() : nullptr; p && !box; p = p->parentWidget())
        box = qobject_cast<const TScrollBox*>(p);
    if (!box)
        return nullptr;
    for (QWidget* p = box->parentWidget(); p; p = p->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(p))
            return tabs;
    return nullptr;
}
