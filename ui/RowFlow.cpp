#include "ui/RowFlow.h"

#include <QEvent>
#include <algorithm>

RowFlow::RowFlow(QWidget* panel, const QList<QWidget*>& row, int gap)
    : QObject(panel), m_panel(panel), m_gap(gap) {
    for (QWidget* w : row)
        m_row.append({w, w->x(), w->width()});
    // Controls placed by hand post their size requests to the panel.
    panel->installEventFilter(this);
}

void RowFlow::apply() {
    int right = 0;
    for (const Place& place : m_row) {
        QWidget* w = place.widget;
        if (!w || w->isHidden())
            continue;
        const int width = std::max(place.designedWidth, w->sizeHint().width());
        const int left = std::max(place.designedLeft, right == 0 ? 0 : right + m_gap);
        if (w->x() != left || w->width() != width)
            w->setGeometry(left, w->y(), width, w->height());
        right = left + width;
    }
}

bool RowFlow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
        apply();
    return QObject::eventFilter(watched, event);
}
