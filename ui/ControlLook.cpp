#include "ui/ControlLook.h"

#include "ui/Controls.h"

#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QWidget>

#include <cmath>

namespace {

const char* const backgroundProperty = "controlColor";
const char* const textProperty = "fontColor";
const char* const shownProperty = "shownFontColor";

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// What the control's text sits on: its own background, else the theme's window colour. A
// see-through control over a picture (the contact label on the banner) has none to measure.
QColor backgroundOf(const QWidget* w) {
    if (w->testAttribute(Qt::WA_TranslucentBackground))
        return {};
    const QColor own = w->property(backgroundProperty).value<QColor>();
    return own.isValid() ? own : QApplication::palette().color(QPalette::Window);
}

// The palette carries the colour for code that reads it; what shows is the control's own style
// sheet, which wins over a theme's sheet and survives the theme restyling the control (a
// restyle puts back the palette the control had when it was first styled).
void applyTextColor(QWidget* w, const QColor& text) {
    w->setProperty(shownProperty, text);
    QPalette pal = w->palette();
    if (w->testAttribute(Qt::WA_SetPalette) && pal.color(QPalette::WindowText) == text &&
        pal.color(QPalette::Text) == text && pal.color(QPalette::ButtonText) == text)
        return;
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::ButtonText, text);
    w->setPalette(pal);
}

void applyLook(QWidget* w) {
    const QColor bg = w->property(backgroundProperty).value<QColor>();
    QColor fg = w->property(textProperty).value<QColor>();
    if (fg.isValid()) {
        if (const QColor under = backgroundOf(w); under.isValid())
            fg = legibleTextColor(fg, under);
        applyTextColor(w, fg);
    }
    QString rules;
    if (bg.isValid())
        rules += QStringLiteral("background-color: %1;").arg(bg.name());
    if (fg.isValid())
        rules += QStringLiteral("color: %1;").arg(fg.name());
    QString sheet;
    if (!rules.isEmpty()) {
        // A selector on the control's own class and name keeps the rule from its children.
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        const QString selector = w->objectName().isEmpty()
                                     ? QStringLiteral(".%1").arg(cls)
                                     : QStringLiteral("%1#%2").arg(cls, w->objectName());
        sheet = selector + QStringLiteral(" { ") + rules + QStringLiteral(" }");
        if (fg.isValid() && qobject_cast<QGroupBox*>(w))
            sheet += QStringLiteral(" %1::title { color: %2; }").arg(selector, fg.name());
    }
    // Restyling a group restyles every row inside it, so an unchanged sheet is left alone.
    if (w->styleSheet() != sheet)
        w->setStyleSheet(sheet);
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
    applyLook(control);
}

QColor fontColor(const QWidget* control) {
    return control->property(textProperty).value<QColor>();
}

QColor legibleTextColor(const QColor& text, const QColor& background, double wanted) {
    if (contrast(text, background) >= wanted)
        return text;
    const QColor toward = luminance(background) < 0.18 ? QColor(Qt::white) : QColor(Qt::black);
    QColor shade = text;
    // Small steps, so the shade stays as close to the colour as the contrast allows.
    for (int step = 1; step <= 40 && contrast(shade, background) < wanted; ++step) {
        const double t = step / 40.0;
        shade = QColor::fromRgbF(text.redF() + (toward.redF() - text.redF()) * t,
                                 text.greenF() + (toward.greenF() - text.greenF()) * t,
                                 text.blueF() + (toward.blueF() - text.blueF()) * t);
    }
    return shade;
}

namespace {

const char* const designedPaletteTextProperty = "designedPaletteText";

// Generated texts that carry a colour in their own palette (the red parameter labels: a palette
// is much cheaper than a style sheet for thousands of rows) are shown in a shade of it that
// reads as body text on the theme's window colour. Controls sharing a colour share a palette.
void refreshPaletteTextColors() {
    const QColor window = QApplication::palette().color(QPalette::Window);
    QHash<QRgb, QPalette> shaded;
    for (QWidget* w : QApplication::allWidgets()) {
        QVariant designed = w->property(designedPaletteTextProperty);
        if (!designed.isValid()) {
            if (!qobject_cast<TStaticText*>(w) || !w->testAttribute(Qt::WA_SetPalette) ||
                w->property(textProperty).isValid())
                continue;
            const QColor own = w->palette().color(QPalette::WindowText);
            if (own == QApplication::palette().color(QPalette::WindowText))
                continue;
            designed = own;
            w->setProperty(designedPaletteTextProperty, designed);
        }
        const QColor colour = designed.value<QColor>();
        auto it = shaded.find(colour.rgb());
        if (it == shaded.end()) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::WindowText, legibleTextColor(colour, window, 4.5));
            it = shaded.insert(colour.rgb(), palette);
        }
        if (w->palette().color(QPalette::WindowText) != it->color(QPalette::WindowText))
            w->setPalette(*it);
    }
}

} // namespace

void refreshControlLooks() {
    for (QWidget* w : QApplication::allWidgets())
        if (w->property(textProperty).isValid())
            applyLook(w);
    refreshPaletteTextColors();
}

QColor shownFontColor(const QWidget* control) {
    return control->property(shownProperty).value<QColor>();
}
