#include "appearance/ThemeManager.h"
#include "ThemeTestApp.h"
#include "config/AppError.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
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

class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override { themeTestApp(); }
    void TearDown() override { ThemeManager::applyTheme(ThemeManager::SystemLook); }
};

TEST_F(ThemeTest, ListsTheThirtyNineThemesInMenuOrderWithTheirExactSpellings) {
    const QStringList names = ThemeManager::themeNames();
    ASSERT_EQ(names.size(), 39);
    EXPECT_EQ(names.first(), "Amakrits");
    EXPECT_EQ(names.indexOf("Ruby Graphite"), 24);
    EXPECT_EQ(names.indexOf("Tablet Light"), 30);
    EXPECT_EQ(names.indexOf("TabletDark"), 31);
    EXPECT_EQ(names.indexOf("Windows10"), 33);
    EXPECT_EQ(names.last(), "Windows10 SlateGray");
    EXPECT_FALSE(names.contains("Windows", Qt::CaseInsensitive));

    QSet<QString> folded;
    for (const QString& name : names)
        folded.insert(name.toLower());
    EXPECT_EQ(folded.size(), names.size());
}

// Body text must read on its background in every theme, in the palette as actually applied.
TEST_F(ThemeTest, EveryThemeAppliesAndKeepsItsTextLegible) {
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::Window, QPalette::WindowText},       {QPalette::Base, QPalette::Text},
        {QPalette::Button, QPalette::ButtonText},       {QPalette::Highlight, QPalette::HighlightedText},
        {QPalette::ToolTipBase, QPalette::ToolTipText}, {QPalette::AlternateBase, QPalette::Text},
        {QPalette::Button, QPalette::WindowText}, // tab captions sit on button-coloured tabs
    };
    for (const QString& name : ThemeManager::themeNames()) {
        SCOPED_TRACE(name.toStdString());
        ThemeManager::applyTheme(name);
        EXPECT_EQ(ThemeManager::currentTheme(), name);
        EXPECT_FALSE(qApp->styleSheet().isEmpty());
        const QPalette palette = QApplication::palette();
        for (const auto& [back, fore] : pairs) {
            const double ratio = contrast(palette.color(back), palette.color(fore));
            EXPECT_GE(ratio, 4.5) << "role " << back << " against " << fore;
        }
    }
}

TEST_F(ThemeTest, ThemesAreDistinctAndTrueToTheirNames) {
    QSet<QRgb> windows;
    QSet<QPair<QRgb, QRgb>> looks;
    for (const QString& name : ThemeManager::themeNames()) {
        const QPalette p = ThemeManager::themePalette(name);
        windows.insert(p.color(QPalette::Window).rgb());
        looks.insert({p.color(QPalette::Window).rgb(), p.color(QPalette::Highlight).rgb()});
    }
    EXPECT_EQ(looks.size(), 39);
    EXPECT_GE(windows.size(), 37);

    for (const char* dark : {"Carbon", "Obsidian", "Cyan Night", "Windows10 Dark", "TabletDark",
                             "Metropolis UI Black", "Metropolis UI Dark", "Ruby Graphite", "Onyx Blue"}) {
        SCOPED_TRACE(dark);
        const QPalette p = ThemeManager::themePalette(dark);
        EXPECT_LT(luminance(p.color(QPalette::Window)), 0.05);
        EXPECT_GT(luminance(p.color(QPalette::WindowText)), 0.6);
    }
    for (const char* light : {"Light", "Windows10", "Tablet Light", "Luna", "Iceberg Classico", "Sky"}) {
        SCOPED_TRACE(light);
        EXPECT_GT(luminance(ThemeManager::themePalette(light).color(QPalette::Window)), 0.6);
    }

    const QPalette ruby = ThemeManager::themePalette("Ruby Graphite");
    const QColor graphite = ruby.color(QPalette::Window).toHsv();
    const QColor accent = ruby.color(QPalette::Highlight).toHsv();
    EXPECT_LT(graphite.saturationF(), 0.1);
    EXPECT_LT(graphite.valueF(), 0.3);
    EXPECT_GT(accent.saturationF(), 0.6);
    EXPECT_TRUE(accent.hue() >= 330 || accent.hue() <= 10) << accent.hue();
}

// The Windows10 family is flat (square corners, no gradients) and each member carries the
// accent its name promises.
TEST_F(ThemeTest, WindowsTenFamilyIsFlatWithItsAccent) {
    const std::pair<const char*, int> accents[] = {{"Windows10", 210},
                                                   {"Windows10 Blue", 210},
                                                   {"Windows10 Dark", 210},
                                                   {"Windows10 Green", 120},
                                                   {"Windows10 Purple", 270}};
    for (const auto& [name, hue] : accents) {
        SCOPED_TRACE(name);
        const QString sheet = ThemeManager::themeStyleSheet(name);
        EXPECT_FALSE(sheet.contains("gradient"));
        EXPECT_FALSE(sheet.contains(QRegularExpression("radius:\\s*[1-9]")));
        const QColor accent = ThemeManager::themePalette(name).color(QPalette::Highlight).toHsv();
        EXPECT_GT(accent.saturationF(), 0.5);
        EXPECT_NEAR(accent.hue(), hue, 30);
    }
    const QColor slate = ThemeManager::themePalette("Windows10 SlateGray").color(QPalette::Highlight).toHsv();
    EXPECT_LT(slate.saturationF(), 0.45);
    EXPECT_NEAR(slate.hue(), 210, 20);
}

TEST_F(ThemeTest, NamesMatchWithoutRegardToCaseAndWindowsIsThePlainLook) {
    ThemeManager::applyTheme("cARBON");
    EXPECT_EQ(ThemeManager::currentTheme(), "Carbon");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              ThemeManager::themePalette("Carbon").color(QPalette::Window));

    ThemeManager::applyTheme("WINDOWS");
    EXPECT_EQ(ThemeManager::currentTheme(), "Windows");
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    // Fusion, behind the proxy that draws legible check boxes and radio buttons.
    const auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->baseStyle()->name(), "fusion");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              QApplication::style()->standardPalette().color(QPalette::Window));
}

TEST_F(ThemeTest, UnknownNameFailsWithTheExactTextAndLeavesTheLookAlone) {
    ThemeManager::applyTheme("Glow");
    const QString sheet = qApp->styleSheet();
    for (const QString& name : {QString("Nope"), QString(), QString("Windows10 "), QString("Windows 10")}) {
        try {
            ThemeManager::applyTheme(name);
            ADD_FAILURE() << "no error for '" << name.toStdString() << "'";
        } catch (const AppError& e) {
            EXPECT_EQ(e.text(), QString("Style '%1' not found").arg(name));
        }
    }
    EXPECT_EQ(ThemeManager::currentTheme(), "Glow");
    EXPECT_EQ(qApp->styleSheet(), sheet);
    EXPECT_THROW(ThemeManager::themePalette("Nope"), AppError);
}

QColor centre(QWidget* w) {
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool hasPixelNear(QWidget* w, const QColor& wanted) {
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                    std::abs(c.blue() - wanted.blue()) <
                40)
                return true;
        }
    return false;
}

// The window's own colours tell the user something (receive box, hexadecimal fields, red
// parameter labels, green titles); a theme must not paint over them.
TEST_F(ThemeTest, ControlsWithTheirOwnColoursKeepThemUnderEveryKindOfTheme) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* memo = new QPlainTextEdit;
    QPalette memoPalette = memo->palette();
    memoPalette.setColor(QPalette::Base, Qt::yellow);
    memoPalette.setColor(QPalette::Text, QColor(0, 128, 0));
    memo->setPalette(memoPalette);
    auto* hexEdit = new QLineEdit;
    QPalette hexPalette = hexEdit->palette();
    hexPalette.setColor(QPalette::Base, Qt::yellow);
    hexEdit->setPalette(hexPalette);
    hexEdit->setMinimumHeight(30);
    auto* label = new QLabel("████");
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(labelPalette);
    auto* group = new QGroupBox("████████");
    QPalette groupPalette = group->palette();
    groupPalette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    group->setPalette(groupPalette);
    group->setMinimumHeight(40);
    layout->addWidget(memo);
    layout->addWidget(hexEdit);
    layout->addWidget(label);
    layout->addWidget(group);
    window.resize(300, 300);
    window.show();

    // One theme of each kind of style sheet.
    for (const char* name : {"Carbon", "Glossy", "Sapphire Kamri", "Slate Classico", "Cyan Night",
                             "Metropolis UI Blue", "Windows10 Dark", "TabletDark"}) {
        SCOPED_TRACE(name);
        ThemeManager::applyTheme(name);
        EXPECT_EQ(centre(memo), QColor(Qt::yellow));
        EXPECT_EQ(centre(hexEdit), QColor(Qt::yellow));
        EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(0, 128, 0));
        EXPECT_TRUE(hasPixelNear(label, Qt::red));
        EXPECT_TRUE(hasPixelNear(group, QColor(0, 128, 0)));
    }
}

// Switching themes repaints every open window in the new colours, not only the active one,
// and a theme applied after another leaves nothing of the earlier one behind.
TEST_F(ThemeTest, SwitchingRepaintsEveryTopLevelWindow) {
    QPushButton first("A"), second("B");
    for (QPushButton* b : {&first, &second}) {
        b->resize(120, 40);
        b->show();
    }
    // Left of the caption, inside the border.
    auto face = [](QPushButton* b) { return b->grab().toImage().pixelColor(10, 20); };
    ThemeManager::applyTheme("Windows10 Dark");
    for (QPushButton* b : {&first, &second})
        EXPECT_LT(luminance(face(b)), 0.1);
    ThemeManager::applyTheme("Light");
    for (QPushButton* b : {&first, &second})
        EXPECT_GT(luminance(face(b)), 0.6);
}

} // namespace
