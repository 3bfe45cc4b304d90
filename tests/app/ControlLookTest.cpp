#include "ui/ControlLook.h"
#include "app/MainFrm.h"
#include "appearance/ThemeManager.h"
#include "support/TestApp.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

double luminance(const QColor& c) {
    auto ch = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ControlLookTest, ColouredTextsStayReadableAndKeepTheirMeaningUnderEveryTheme) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    TForm_Main form(dir.path());
    for (const QString& theme : ThemeManager::themeNames() + QStringList{QStringLiteral("Windows")}) {
        SCOPED_TRACE(theme.toStdString());
        ThemeManager::applyTheme(theme);
        const QColor window = QApplication::palette().color(QPalette::Window);
        const QColor notes = shownFontColor(form.lbl_Node1);
        EXPECT_GE(contrast(notes, window), 3.0);
        EXPECT_GT(notes.blue(), notes.red()); // still blue
        EXPECT_EQ(fontColor(form.lbl_Node1), QColor(0, 0, 255));
        // Text on a background of the control's own is measured against that background.
        EXPECT_EQ(shownFontColor(form.mmo_RX), QColor(0, 128, 0));
    }
    ThemeManager::applyTheme(QStringLiteral("Windows"));
}

TEST(ControlLookTest, ShadesOnlyWhatDoesNotReadWell) {
    EXPECT_EQ(legibleTextColor(QColor(255, 0, 0), QColor(240, 240, 240)), QColor(255, 0, 0));
    const QColor onDark = legibleTextColor(QColor(0, 0, 255), QColor(40, 40, 40));
    EXPECT_GE(contrast(onDark, QColor(40, 40, 40)), 3.0);
    EXPECT_GT(onDark.blue(), onDark.red());
    const QColor onLight = legibleTextColor(QColor(255, 255, 0), QColor(250, 250, 250));
    EXPECT_GE(contrast(onLight, QColor(250, 250, 250)), 3.0);
}

} // namespace
