#include "PageBuilderFixture.h"
#include "console/Receiving.h"

#include "console/ReceiveLogView.h"
#include "console/ReceiveRowMetrics.h"
#include "console/protocol/ReceivedBlock.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  held, {});
    QApplication::sendEvent(w, &e);
}

void key(QWidget* w, Qt::Key k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::ControlModifier);
    QApplication::sendEvent(w, &e);
}

struct AppFirst {
    AppFirst() { testApp(); }
};

struct ShownView : AppFirst {
    ShownView() {
        view.resize(400, 200);
        view.show();
    }
    // Waits until the view has drawn everything it holds.
    bool drawn() {
        return waitFor([&] { return view.drawnCharacters() == view.receivedCharacters(); });
    }
    ReceiveLogView view;
};

TEST(ReceiveLogViewTest, SelectsWithTheMouseAndCopiesWhatIsSelected) {
    ShownView s;
    s.view.appendLatin1("first line\r\nsecond line\r\nthird");
    ASSERT_TRUE(s.drawn());
    EXPECT_FALSE(s.view.hasSelection());

    const qreal rowHeight = QFontMetricsF(s.view.font()).lineSpacing();
    QWidget* port = s.view.viewport();
    mouse(port, QEvent::MouseButtonPress, {2, rowHeight / 2}, Qt::LeftButton);
    mouse(port, QEvent::MouseMove, {port->width() - 2.0, rowHeight * 1.5}, Qt::LeftButton);
    mouse(port, QEvent::MouseButtonRelease, {port->width() - 2.0, rowHeight * 1.5}, Qt::NoButton);
    EXPECT_EQ(s.view.selectedText(), "first line\nsecond line");

    s.view.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first line\nsecond line");

    key(&s.view, Qt::Key_A);
    EXPECT_EQ(s.view.selectedText(), "first line\nsecond line\nthird");
    QGuiApplication::clipboard()->clear();
    key(&s.view, Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first line\nsecond line\nthird");

    // A double click takes the run between blanks: a word, or one byte pair.
    mouse(port, QEvent::MouseButtonDblClick, {6, rowHeight * 2.5}, Qt::LeftButton);
    EXPECT_EQ(s.view.selectedText(), "third");

    s.view.clear();
    EXPECT_FALSE(s.view.hasSelection()) << "nothing stays selected in an emptied view";
}

TEST(ReceiveLogViewTest, FollowsTheEndAndScrollsSidewaysOnlyWithoutWrapping) {
    ShownView s;
    for (int i = 0; i < 500; ++i)
        s.view.appendLatin1(QByteArray::number(i) + QByteArray(300, 'x') + "\r\n");
    ASSERT_TRUE(s.drawn());
    QScrollBar* v = s.view.verticalScrollBar();
    EXPECT_GT(v->maximum(), 400);
    EXPECT_EQ(v->value(), v->maximum()) << "the end is in view";
    EXPECT_GT(s.view.horizontalScrollBar()->maximum(), 0);

    s.view.setWrapping(true);
    EXPECT_EQ(s.view.horizontalScrollBar()->maximum(), 0);
    // Wrapped, the last lines take several rows each, so fewer of them fit at the end.
    EXPECT_GT(v->maximum(), 490);
    s.view.setWrapping(false);
    EXPECT_LE(v->maximum(), 500);
}

TEST(ReceiveLogViewTest, WrappedRowsEndAfterABlankSoBytePairsStayWhole) {
    testApp();
    ReceiveRowMetrics m;
    m.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QString hex = QStringLiteral("12:00:01\t") + QString("0A EE 3F ").repeated(40);
    for (const qreal width : {97.0, 150.0, 333.0}) {
        qsizetype from = 0;
        for (const qsizetype end : m.wrap(hex, width)) {
            const QString row = hex.mid(from, end - from);
            if (end < hex.size()) {
                EXPECT_TRUE(row.endsWith(u' ') || row.endsWith(u'\t')) << row.toStdString();
            }
            EXPECT_LE(m.width(row.trimmed()), width + 0.5) << row.toStdString();
            from = end;
        }
        EXPECT_EQ(from, hex.size());
    }
    // A row without blanks breaks where it reaches the width.
    const auto ends = m.wrap(QString(100, 'x'), m.width(QStringLiteral("xxxxxxxxxx")) + 1);
    EXPECT_EQ(ends.size(), 10u);
    EXPECT_EQ(ends.front(), 10);
}

struct ReceiveWindow : TestWindow {
    ReceiveWindow() : TestWindow(TestConfig()) {
        EXPECT_EQ(build(), "");
        form->show();
    }
    void receive(const QByteArray& bytes) {
        form->receiving->show(bytes);
    }
};

bool hasPixelNear(const QImage& image, const QColor& wanted) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green()) +
                    std::abs(c.blue() - wanted.blue()) <
                60)
                return true;
        }
    return false;
}

TEST(ReceiveLogViewTest, TheWindowsBoxDrawsInItsOwnColoursAndHexInAFixedPitchFont) {
    ReceiveWindow w;
    ReceiveLogView* box = w.form->mmo_RX;
    w.receive(QByteArray(40, 'W') + "\r\n" + QByteArray(40, 'M'));
    ASSERT_TRUE(waitFor([&] { return box->drawnCharacters() == box->receivedCharacters(); }));
    const QImage image = box->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), QColor(255, 255, 0));
    EXPECT_TRUE(hasPixelNear(image, QColor(0, 128, 0))) << "the text in the template's green";

    EXPECT_FALSE(box->fixedPitch());
    w.form->rbtn_Hex->setChecked(true);
    EXPECT_TRUE(box->fixedPitch());
    w.form->rbtn_Ascii->setChecked(true);
    EXPECT_FALSE(box->fixedPitch());
}

TEST(ReceiveLogViewTest, HexadecimalLinesOfTheWindowNeverSplitAByte) {
    ReceiveWindow w;
    w.form->chk_autoClearRxmmo->setChecked(false);
    w.form->rbtn_Hex->setChecked(true);
    QByteArray bytes(5000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(0xE0 + i % 16);
    w.receive(bytes.left(2000));
    w.receive(bytes.mid(2000));
    const QStringList lines = w.form->mmo_RX->toPlainText().split(u'\n');
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines)
        EXPECT_EQ(line.size() % 3, 0) << "a line ends inside a byte pair";
    EXPECT_EQ(lines.join(QString()), BlockAsHex(bytes));
}

} // namespace
