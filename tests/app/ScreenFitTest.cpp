// At the screen sizes engineers' laptops and site PCs have, in both languages, every caption
// of the window can be read whole.

#include "app/MainFrm.h"
#include "console/TrendReading.h"
#include "support/TestApp.h"
#include "trend/TrendWindow.h"
#include "ui/ScreenPlacement.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// What a control needs to show its caption whole, or 0 when it has no caption to check.
int neededWidth(const QWidget* w) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull())
            return 0;
        // A label of several lines needs the width of its widest.
        int widest = 0;
        for (const QString& line : label->text().split(u'\n'))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        return widest + 2 * label->margin() + 2 * label->frameWidth();
    }
    return 0;
}

// The controls a user reads or operates, as opposed to panels and frames.
bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractScrollArea*>(w);
}

// The content of a scroll area moves under its viewport: what is past the edge is reached by
// scrolling.
bool isScrolledContent(const QWidget* w) {
    return w && w->parentWidget() &&
           qobject_cast<const QAbstractScrollArea*>(w->parentWidget()->parentWidget());
}

// Every visible control whose caption does not fit, with its sizes, over every page of every
// tab control.
QStringList clippedCaptions(QWidget& form) {
    QStringList clipped;
    auto checkVisible = [&] {
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&form))
                continue;
            const int need = neededWidth(w);
            // A caption that grows into its neighbour is as unreadable as a clipped one.
            if (need > 0 && qobject_cast<QAbstractButton*>(w)) {
                const QRect room(w->pos(), QSize(need, w->height()));
                for (QObject* o : w->parent()->children()) {
                    auto* sibling = qobject_cast<QAbstractButton*>(o);
                    if (sibling && sibling != w && sibling->isVisibleTo(&form) &&
                        room.intersects(
                            QRect(sibling->pos(), QSize(neededWidth(sibling), sibling->height()))))
                        clipped
                            << QStringLiteral("%1 overlaps %2").arg(w->objectName(), sibling->objectName());
                }
            }
            // A control that reaches past its panel is cut off by it.
            if (need > 0 && w->x() + need > w->parentWidget()->width())
                clipped << QStringLiteral("%1 reaches past its panel (%2 of %3)")
                               .arg(w->objectName())
                               .arg(w->x() + need)
                               .arg(w->parentWidget()->width());
            if (need > w->width())
                clipped << QStringLiteral("%1 \"%2\": needs %3, has %4")
                               .arg(w->objectName(), w->property("text").toString())
                               .arg(need)
                               .arg(w->width());
            // A text box squeezed below two lines shows nothing useful.
            if (const auto* box = qobject_cast<const QAbstractScrollArea*>(w);
                box && !w->objectName().isEmpty() && !qobject_cast<const QTabWidget*>(w->parentWidget())) {
                const int least = 2 * box->fontMetrics().height() + 2 * box->frameWidth();
                if (box->viewport()->height() + 2 * box->frameWidth() < least)
                    clipped << QStringLiteral("%1 is %2 high, below two lines (%3)")
                                   .arg(w->objectName())
                                   .arg(w->height())
                                   .arg(least);
            }
            // An editable choice box whose text scrolls out of its field.
            if (const auto* combo = qobject_cast<const QComboBox*>(w); combo && combo->lineEdit()) {
                const int need = combo->fontMetrics().horizontalAdvance(combo->currentText()) + 6;
                if (need > combo->lineEdit()->width())
                    clipped << QStringLiteral("%1 \"%2\": needs %3, has %4")
                                   .arg(w->objectName(), combo->currentText())
                                   .arg(need)
                                   .arg(combo->lineEdit()->width());
            }
            if (isControl(w) && !w->objectName().isEmpty()) {
                // Below its panel's bottom, nobody sees it, unless the panel scrolls.
                if (!isScrolledContent(w->parentWidget()) &&
                    w->y() + w->height() > w->parentWidget()->height())
                    clipped
                        << QStringLiteral("%1 is cut off by the bottom of its panel").arg(w->objectName());
            }
        }
        for (QTabBar* bar : form.findChildren<QTabBar*>()) {
            if (!bar->isVisibleTo(&form))
                continue;
            // Tabs past the edge of their tab control, with no arrows to reach them, are lost.
            if (bar->count() > 0 && !bar->usesScrollButtons() &&
                bar->x() + bar->tabRect(bar->count() - 1).right() >= bar->parentWidget()->width())
                clipped << QStringLiteral("tab \"%1\" is cut off by its tab control")
                               .arg(bar->tabText(bar->count() - 1));
            for (int i = 0; i < bar->count(); ++i) {
                const int need = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
                if (need > bar->tabRect(i).width())
                    clipped << QStringLiteral("tab \"%1\": needs %2, has %3")
                                   .arg(bar->tabText(i))
                                   .arg(need)
                                   .arg(bar->tabRect(i).width());
            }
        }
    };
    checkVisible();
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            checkVisible();
        }
    }
    clipped.removeDuplicates();
    return clipped;
}

struct Size {
    int w, h;
};

class ScreenFitTest : public ::testing::TestWithParam<std::tuple<Size, const char*>> {};

TEST_P(ScreenFitTest, NoCaptionIsClipped) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    const auto [size, language] = GetParam();
    TForm_Main form(dir.path());
    form.FormCreate();
    // Through the language buttons: the file's language is what the window shows.
    if (QString::fromLatin1(language) == QLatin1String("EN"))
        form.btn_SecondLanguageClick();
    else
        form.btn_FirstLanguageClick();
    ASSERT_EQ(form.LanguageCode, QString::fromLatin1(language));
    form.btn_Cmds->show();
    form.resize(size.w, size.h);
    form.show();
    QCoreApplication::processEvents();
    QStringList clipped = clippedCaptions(form);
    // The trend window opens on the same screen, whole, with its captions whole.
    form.btn_Trend->click();
    QCoreApplication::processEvents();
    const QRect screen = form.screen()->availableGeometry();
    if (form.trendReading->window()->width() > screen.width() ||
        form.trendReading->window()->height() > screen.height())
        clipped << QStringLiteral("the trend window (%1x%2) is larger than the screen")
                       .arg(form.trendReading->window()->width())
                       .arg(form.trendReading->window()->height());
    clipped << clippedCaptions(*form.trendReading->window());
    form.trendReading->window()->close();
    EXPECT_TRUE(clipped.isEmpty()) << size.w << "x" << size.h << " " << language << ":\n"
                                   << clipped.join('\n').toStdString();
}

// The window's client area on common screens, less a title bar and a panel; the last is a
// 1920 x 1080 screen at a scale factor of 2, whose layout is that of 960 x 540 pixels.
INSTANTIATE_TEST_SUITE_P(Screens, ScreenFitTest,
                         ::testing::Combine(::testing::Values(Size{1024, 768 - 60}, Size{1280, 720 - 60},
                                                              Size{1366, 768 - 60}, Size{1920, 1080 - 60},
                                                              Size{960, 540 - 30}),
                                            ::testing::Values("CN", "EN")));

} // namespace

TEST(PortBoxTest, LongPathShowsElidedWithTheWholePathAsTooltipAndIsKeptWhole) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    TForm_Main form(dir.path());
    form.show();
    const QString path = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    form.cbb_Port->setCurrentText(path);
    QCoreApplication::processEvents();
    QLineEdit* edit = form.cbb_Port->lineEdit();
    EXPECT_EQ(form.cbb_Port->currentText(), path); // what connecting and saving read
    EXPECT_EQ(edit->toolTip(), path);

    form.cbb_Port->setCurrentText("COM1");
    QCoreApplication::processEvents();
    EXPECT_TRUE(edit->toolTip().isEmpty()); // the box's own hint shows again
}

TEST(ScreenPlacementTest, WindowOpensWithinTheFreeAreaAndCentredOnIt) {
    // The designed 1494 x 720 window on a 1280 x 720 laptop with a 32-pixel panel at the top.
    const QRect laptop(0, 32, 1280, 688);
    EXPECT_EQ(PlacementOnScreen({1494, 720}, laptop), laptop);
    // On a large second screen it keeps its size and sits in the middle.
    const QRect big(1920, 0, 2560, 1440);
    const QRect placed = PlacementOnScreen({1494, 720}, big);
    EXPECT_EQ(placed.size(), QSize(1494, 720));
    EXPECT_EQ(placed.center(), big.center());
}
