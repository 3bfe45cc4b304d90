#include "ui/DockLayout.h"

#include <QWidget>

namespace {
const char* const alignProperty = "dockAlign";
const char* const extentProperty = "dockExtent";
} // namespace

DockLayout::DockLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

DockLayout::~DockLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void DockLayout::dock(QWidget* widget, DockAlign align, int extent) {
    widget->setProperty(alignProperty, static_cast<int>(align));
    widget->setProperty(extentProperty, extent);
    addWidget(widget);
}

DockAlign DockLayout::alignOf(const QWidget* widget) {
    const QVariant v = widget->property(alignProperty);
    return v.isValid() ? static_cast<DockAlign>(v.toInt()) : DockAlign::None;
}

int DockLayout::extentOf(const QWidget* widget) {
    return widget->property(extentProperty).toInt();
}

void DockLayout::setExtent(QWidget* widget, int extent) {
    if (extentOf(widget) == extent)
        return;
    widget->setProperty(extentProperty, extent);
    if (auto* parent = widget->parentWidget(); parent && parent->layout()) {
        parent->layout()->invalidate();
        parent->layout()->activate();
        parent->layout()->setGeometry(parent->rect());
    }
}

void DockLayout::redock(QWidget* widget) {
    if (auto* parent = widget->parentWidget(); parent && parent->layout())
        parent->layout()->setGeometry(parent->rect());
}

QWidget* DockLayout::neighbourBefore(QWidget* widget) const {
    const DockAlign align = alignOf(widget);
    QWidget* before = nullptr;
    for (QLayoutItem* item : m_items) {
        QWidget* w = item->widget();
        if (w == widget)
            return before;
        if (w && alignOf(w) == align && !w->isHidden())
            before = w;
    }
    return nullptr;
}

void DockLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}
QLayoutItem* DockLayout::itemAt(int index) const {
    return m_items.value(index);
}
QLayoutItem* DockLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}
int DockLayout::count() const {
    return static_cast<int>(m_items.size());
}
QSize DockLayout::sizeHint() const {
    return QSize(200, 200);
}
QSize DockLayout::minimumSize() const {
    return QSize(0, 0);
}

void DockLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QRect free = contentsRect();
    const DockAlign order[] = {DockAlign::Top, DockAlign::Bottom, DockAlign::Left, DockAlign::Right,
                               DockAlign::Client};
    for (DockAlign pass : order) {
        for (QLayoutItem* item : m_items) {
            QWidget* w = item->widget();
            if (!w || w->isHidden() || alignOf(w) != pass)
                continue;
            const int e = extentOf(w);
            switch (pass) {
            case DockAlign::Top:
                w->setGeometry(free.left(), free.top(), free.width(), qMin(e, free.height()));
                free.setTop(free.top() + qMin(e, free.height()));
                break;
            case DockAlign::Bottom:
                w->setGeometry(free.left(), free.bottom() + 1 - qMin(e, free.height()), free.width(),
                               qMin(e, free.height()));
                free.setBottom(free.bottom() - qMin(e, free.height()));
                break;
            case DockAlign::Left:
                w->setGeometry(free.left(), free.top(), qMin(e, free.width()), free.height());
                free.setLeft(free.left() + qMin(e, free.width()));
                break;
            case DockAlign::Right:
                w->setGeometry(free.right() + 1 - qMin(e, free.width()), free.top(), qMin(e, free.width()),
                               free.height());
                free.setRight(free.right() - qMin(e, free.width()));
                break;
            case DockAlign::Client:
                w->setGeometry(free);
                break;
            case DockAlign::None:
                break;
            }
        }
    }
}
