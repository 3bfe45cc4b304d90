// Check boxes and radio buttons must be seen under every theme: their box against the window
// and their mark against the box, measured on what is actually drawn.

#include "ThemeTestApp.h"
#include "appearance/ThemeManager.h"

#include <QCheckBox>
#include <QImage>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <cmath>
#include <gtest/gtest.h>

namespace {

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast any pixel of the area has against the given colour.
double strongest(const QImage& image, const QRect& area, const QColor& against) {
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, contrast(image.pixelColor(x, y), against));
    return best;
}

struct Drawn {
    QImage image;
    QRect indicator;
};

template <class Button> Drawn draw(bool checked) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new Button(QStringLiteral("Mm"));
    button->setChecked(checked);
    layout->addWidget(button);
    window.resize(120, 40);
    window.show();
    QCoreApplication::processEvents();
    QStyleOptionButton option;
    option.initFrom(button);
    const auto element =
        std::is_same_v<Button, QCheckBox> ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator;
    const QRect rect = button->style()->subElementRect(element, &option, button);
    return {window.grab().toImage(), rect.translated(button->pos())};
}

template <class Button> void expectVisible(const QString& theme) {
    const QColor window = QApplication::palette().color(QPalette::Window);
    const Drawn off = draw<Button>(false);
    ASSERT_FALSE(off.indicator.isEmpty());
    EXPECT_GE(strongest(off.image, off.indicator, window), 3.0)
        << theme.toStdString() << ": the empty " << typeid(Button).name() << " box against the window";
    const QColor fill = off.image.pixelColor(off.indicator.center());
    const Drawn on = draw<Button>(true);
    EXPECT_GE(strongest(on.image, on.indicator.adjusted(2, 2, -2, -2), fill), 3.0)
        << theme.toStdString() << ": the " << typeid(Button).name() << " mark against its box";
}

TEST(IndicatorContrast, EveryThemeShowsBoxAndMark) {
    themeTestApp();
    for (const QString& name : ThemeManager::themeNames()) {
        ThemeManager::applyTheme(name);
        expectVisible<QCheckBox>(name);
        expectVisible<QRadioButton>(name);
    }
    ThemeManager::applyTheme(ThemeManager::SystemLook);
}

} // namespace
