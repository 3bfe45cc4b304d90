#include "app/ControlLook.h"

#include <QGroupBox>
#include <QWidget>

namespace {

const char* const backgroundProperty = "controlColor";
const char* const textProperty = "fontColor";

// Text colours live in the palette, which the themes honour. A style sheet is used only for
// a background of the control's own, and then carries the text colour too, since a sheet's
// text colour wins over the palette. Group boxes never get one: it would drop the theme's
// placing of their titles.
void applyLook(QWidget* w) {
    const QColor bg = w->property(backgroundProperty).value<QColor>();
    const QColor fg = w->property(textProperty).value<QColor>();
    if (!bg.isValid() || qobject_cast<QGroupBox*>(w)) {
        w->setStyleSheet(QString());
        return;
    }
    QString rules;
    if (bg.isValid())
        rules += QStringLiteral("background-color: %1;").arg(bg.name());
    if (fg.isValid())
        rules += QStringLiteral("color: %1;").arg(fg.name());
    if (rules.isEmpty()) {
        w->setStyleSheet(QString());
        return;
    }
    // A selector on the control's own class and name keeps the rule from reaching children.
    const QString cls = QString::fromLatin1(w->metaObject()->className());
    QString selector;
    if (!w->objectName().isEmpty())
        selector = QStringLiteral("%1#%2").arg(cls, w->objectName());
    else
        selector = QStringLiteral(".%1").arg(cls);
    w->setStyleSheet(selector + QStringLiteral(" { ") + rules + QStringLiteral(" }"));
}

} // namespace

void setControlColor(QWidget* control, const QColor& background) {
    control->setProperty(backgroundProperty, background);
    applyLook(control);
}

QColor controlColor(const QWidget* control) {
    return control->property(backgroundProperty).value<QColor>();
}

void setFontColor(QWidget* control, const QColor& text) {
    control->setProperty(textProperty, text);
    QPalette pal = control->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::ButtonText, text);
    control->setPalette(pal);
    applyLook(control);
}

QColor fontColor(const QWidget* control) {
    return control->property(textProperty).value<QColor>();
}

QColor colorFromBgr(unsigned value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

unsigned bgrFromColor(const QColor& color) {
    return static_cast<unsigned>(color.red()) | (static_cast<unsigned>(color.green()) << 8) |
           (static_cast<unsigned>(color.blue()) << 16);
}
