// The red parameter labels stay red and readable under every theme, also after switching.

#include "ui/ControlLook.h"
#include "ui/Controls.h"
#include "app/MainFrm.h"
#include "appearance/ThemeManager.h"
#include "support/TestApp.h"

#include <QLabel>
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

TEST(ThemedLabels, ParameterLabelsReadAsRedBodyTextOnEveryTheme) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    TForm_Main form(dir.path());
    form.FormCreate();
    QList<QLabel*> labels;
    for (TStaticText* label : form.findChildren<TStaticText*>()) {
        const QColor c = label->palette().color(QPalette::WindowText);
        if (label->testAttribute(Qt::WA_SetPalette) && c.red() > 2 * std::max(c.green(), c.blue()))
            labels << label;
    }
    ASSERT_GE(labels.size(), 4);
    for (const QString& theme : ThemeManager::themeNames()) {
        ThemeManager::applyTheme(theme);
        const QColor window = QApplication::palette().color(QPalette::Window);
        for (QLabel* label : labels) {
            const QColor shown = label->palette().color(QPalette::WindowText);
            EXPECT_GE(contrast(shown, window), 4.5)
                << theme.toStdString() << " " << label->objectName().toStdString();
            // Still red: a red hue, visibly saturated (a shade toward white or black, not pink or brown).
            const int hue = shown.hsvHue();
            EXPECT_TRUE((hue >= 0 && hue <= 10) || hue >= 350)
                << theme.toStdString() << ": " << shown.name().toStdString();
            EXPECT_GE(shown.hsvSaturationF(), 0.4)
                << theme.toStdString() << ": " << shown.name().toStdString();
        }
    }
    ThemeManager::applyTheme(ThemeManager::SystemLook);
}

} // namespace
