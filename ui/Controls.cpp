#include "ui/Controls.h"

#include "ui/DockLayout.h"

#include <QMouseEvent>
#include <QPainter>

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
}

void TPanel::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void TPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_caption);
}

TShape::TShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShape::setBrushColor(const QColor& color) {
    if (color == m_brush)
        return;
    m_brush = color;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_brush);
    const int side = qMin(width(), height());
    painter.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
}

TScrollBox::TScrollBox(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    auto* inner = new QWidget;
    setWidget(inner);
}

int TScrollBox::clientWidth() const {
    return viewport()->width();
}

void TScrollBox::fitContent() {
    int right = 0;
    int bottom = 0;
    for (QObject* child : widget()->children()) {
        if (auto* w = qobject_cast<QWidget*>(child)) {
            right = qMax(right, w->geometry().right() + 1);
            bottom = qMax(bottom, w->geometry().bottom() + 1);
        }
    }
    widget()->resize(qMax(right, viewport()->width()), qMax(bottom + 4, viewport()->height()));
}

void TScrollBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    fitContent();
}

TSplitter::TSplitter(QWidget* parent) : QWidget(parent) {}

QWidget* TSplitter::neighbour() const {
    auto* dock = parentWidget() ? qobject_cast<DockLayout*>(parentWidget()->layout()) : nullptr;
    return dock ? dock->neighbourBefore(const_cast<TSplitter*>(this)) : nullptr;
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
    QWidget* n = neighbour();
    if (!n || event->button() != Qt::LeftButton)
        return;
    m_pressGlobal = event->globalPosition().toPoint();
    const auto align = DockLayout::alignOf(this);
    m_startExtent = (align == DockAlign::Left || align == DockAlign::Right) ? n->width() : n->height();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) {
    QWidget* n = neighbour();
    if (!n || m_startExtent < 0)
        return;
    const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
    int extent = m_startExtent;
    switch (DockLayout::alignOf(this)) {
    case DockAlign::Left:
        extent += delta.x();
        break;
    case DockAlign::Right:
        extent -= delta.x();
        break;
    case DockAlign::Top:
        extent += delta.y();
        break;
    case DockAlign::Bottom:
        extent -= delta.y();
        break;
    default:
        return;
    }
    DockLayout::setExtent(n, qMax(30, extent));
}

void TSplitter::mouseReleaseEvent(QMouseEvent*) {
    m_startExtent = -1;
}
