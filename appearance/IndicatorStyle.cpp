#include "appearance/IndicatorStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

QColor ringColor(const QStyleOption& option) {
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    return option.palette.color(group, QPalette::WindowText);
}

QColor markColor(const QStyleOption& option) {
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    return option.palette.color(group, QPalette::Text);
}

void drawCheckBox(const QStyleOption& option, QPainter& painter) {
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(ringColor(option), 1.0));
    painter.setBrush(option.palette.color(QPalette::Base));
    painter.drawRect(box);
    const QRectF inner = box.adjusted(2.5, 2.5, -2.5, -2.5);
    if (option.state & QStyle::State_On) {
        QPainterPath tick;
        tick.moveTo(inner.left(), inner.center().y());
        tick.lineTo(inner.left() + inner.width() * 0.4, inner.bottom());
        tick.lineTo(inner.right(), inner.top());
        painter.setPen(QPen(markColor(option), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else if (option.state & QStyle::State_NoChange) {
        painter.fillRect(QRectF(inner.left(), inner.center().y() - 1.0, inner.width(), 2.0),
                         markColor(option));
    }
}

void drawRadioButton(const QStyleOption& option, QPainter& painter) {
    const QRectF ring = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(ringColor(option), 1.0));
    painter.setBrush(option.palette.color(QPalette::Base));
    painter.drawEllipse(ring);
    if (option.state & QStyle::State_On) {
        const qreal r = ring.width() * 0.25;
        painter.setPen(Qt::NoPen);
        painter.setBrush(markColor(option));
        painter.drawEllipse(ring.center(), r, r);
    }
}

} // namespace

IndicatorStyle::IndicatorStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void IndicatorStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
    if (element != PE_IndicatorCheckBox && element != PE_IndicatorRadioButton) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (element == PE_IndicatorCheckBox)
        drawCheckBox(*option, *painter);
    else
        drawRadioButton(*option, *painter);
    painter->restore();
}
