// The receive view on a slow steady line: what it shows and how it is drawn when rows are
// moved by copying instead of being drawn again.
#include "PageBuilderFixture.h"
#include "console/Receiving.h"

#include "comm/CommMessages.h"
#include "comm/SerialComm.h"
#include "console/ReceiveLogView.h"
#include "console/SteadyScrollBar.h"
#include "console/protocol/ReceivedBlock.h"

#include <QCheckBox>
#include <QHash>
#include <QImage>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray deviceLine(int i) {
    return "line " + QByteArray::number(i).rightJustified(5, '0') +
           " value=" + QByteArray::number(i * 37 % 1000) + " \t unit" + QByteArray(i % 23, '-') + "\r\n";
}

bool caughtUp(ReceiveLogView& view) {
    return waitFor([&] { return view.drawnCharacters() == view.receivedCharacters(); }, 20000);
}

// What the window shows of the view's area: the pixels as they stand after the last paint,
// not a fresh rendering (which would always be a full repaint).
QImage onScreen(ReceiveLogView& view) {
    // Whatever is still waiting to be painted is painted now, as the next frame would.
    QEvent paintPending(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(view.window(), &paintPending);
    QWidget* port = view.viewport();
    const QPoint at = port->mapTo(port->window(), QPoint(0, 0));
    return port->screen()
        ->grabWindow(port->window()->winId(), at.x(), at.y(), port->width(), port->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

::testing::AssertionResult samePixels(const QImage& shown, const QImage& full) {
    if (shown.size() != full.size())
        return ::testing::AssertionFailure() << "sizes differ";
    int differing = 0;
    QPoint first;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != full.pixel(x, y) && differing++ == 0)
                first = {x, y};
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ from a full repaint, the first at "
                                         << first.x() << "," << first.y();
}

QImage fullyRepainted(ReceiveLogView& view) {
    view.viewport()->repaint();
    return onScreen(view);
}

struct Mode {
    const char* name;
    bool stamps;
    bool hex;
    bool wrap;
};

const Mode kModes[] = {
    {"text", false, false, false},  {"text wrapped", false, false, true},
    {"stamps", true, false, false}, {"stamps wrapped", true, false, true},
    {"hex", false, true, false},    {"hex wrapped", false, true, true},
};

struct TrickleWindow : TestWindow {
    explicit TrickleWindow(const Mode& mode) : TestWindow(TestConfig()) {
        EXPECT_EQ(build(), "");
        form->chk_autoClearRxmmo->setChecked(false);
        form->chk_showDT->setChecked(mode.stamps);
        form->rbtn_Hex->setChecked(mode.hex);
        if (mode.wrap != form->chk_AutoNewLine->isChecked())
            form->chk_AutoNewLine->click();
        form->show();
    }
    void receive(const QByteArray& bytes) {
        form->receiving->show(bytes);
    }
    ReceiveLogView& view() { return *form->mmo_RX; }
};

const QRegularExpression kStamp(QStringLiteral("\n\\d\\d.\\d\\d.\\d\\d\t"));

TEST(ReceiveTrickle, TheViewShowsTheStreamAsItCameInEveryMode) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        TrickleWindow w(mode);
        QByteArray stream;
        for (int i = 0; i < 120; ++i) {
            const QByteArray line = deviceLine(i);
            // Some lines come in two blocks, as a pause on the line splits them.
            const qsizetype cut = i % 3 == 0 ? line.size() / 2 : line.size();
            w.receive(line.left(cut));
            if (cut < line.size())
                w.receive(line.mid(cut));
            stream += line;
            if (i % 7 == 0) {
                ASSERT_TRUE(caughtUp(w.view()));
            }
        }
        ASSERT_TRUE(caughtUp(w.view()));
        QString shown = w.view().toPlainText();
        if (mode.stamps) {
            EXPECT_EQ(shown.count(kStamp), 120 + 40) << "one stamp per block";
            shown.replace(kStamp, QString());
        }
        if (mode.hex) {
            EXPECT_EQ(shown.remove(u'\n'), BlockAsHex(stream));
        } else {
            QString expected =
                QString::fromLatin1(stream).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (mode.stamps)
                expected.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
            EXPECT_EQ(shown.remove(QStringLiteral("\n\n")), expected.remove(QStringLiteral("\n\n")));
        }
        w.view().selectAll();
        EXPECT_EQ(w.view().selectedText(), w.view().toPlainText()) << "selection and copy see it all";
    }
}

TEST(ReceiveTrickle, RowsMovedByCopyingMatchAFullRepaintAfterEveryStep) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        TrickleWindow w(mode);
        ReceiveLogView& view = w.view();
        ASSERT_TRUE(view.incrementalPainting());
        int line = 0;
        for (int step = 0; step < 40; ++step) {
            SCOPED_TRACE(step);
            // One, two or three lines a step, the last one sometimes left unfinished.
            for (int n = 0; n <= step % 3; ++n)
                w.receive(deviceLine(line++));
            if (step % 4 == 1)
                w.receive("partial " + QByteArray(step, 'p'));
            if (step == 20) {
                // A selection across rows moves with them.
                view.selectOffsets(view.length() - 150, view.length() - 40);
                ASSERT_TRUE(view.hasSelection());
            }
            if (step == 30) {
                // The user scrolls back a little, then the next block brings the end back.
                view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() - 2);
                const QImage scrolled = onScreen(view);
                ASSERT_TRUE(samePixels(scrolled, fullyRepainted(view))) << "after scrolling back";
            }
            ASSERT_TRUE(caughtUp(view));
            const QImage incremental = onScreen(view);
            const QImage full = fullyRepainted(view);
            ASSERT_TRUE(samePixels(incremental, full));
        }
        if (!mode.hex || mode.wrap) {
            EXPECT_GT(view.verticalScrollBar()->value(), 0) << "the rows did scroll";
        }
    }
}

TEST(ReceiveTrickle, ABurstOfSmallBlocksWithinAFrameIsOneUpdate) {
    TrickleWindow w(kModes[0]);
    ReceiveLogView& view = w.view();
    w.form->Comm1->OnReceiveData = [&](QObject*, const char* b, std::uint16_t n) {
        w.form->receiving->show(QByteArrayView(b, n));
    };
    w.receive("warm up\r\n");
    ASSERT_TRUE(caughtUp(view));
    // Let the frame pass, so that the burst does not land in a frame already running.
    const qint64 before = view.refreshCount();
    QElapsedTimer quiet;
    quiet.start();
    waitFor([&] { return quiet.elapsed() > 3 * ReceiveLogView::kRefreshMs; }, 5000);
    // As the reader thread delivers them: posted, one block each, before the window looks.
    const qint64 expected = view.receivedCharacters() + 50 * 2 + 40;
    for (int i = 0; i < 50; ++i) {
        const QByteArray piece = "b" + QByteArray::number(i) + (i % 10 == 9 ? "\r\n" : "");
        auto block = std::make_unique<char[]>(std::size_t(piece.size()) + 1);
        std::memcpy(block.get(), piece.constData(), std::size_t(piece.size()));
        QCoreApplication::postEvent(
            w.form->Comm1, new TCommMessage(UM_COMM_DATA, std::uint32_t(piece.size()), 0, std::move(block)));
    }
    ASSERT_TRUE(waitFor([&] { return view.receivedCharacters() == expected; }));
    ASSERT_TRUE(caughtUp(view));
    EXPECT_EQ(view.refreshCount() - before, 1);
    EXPECT_TRUE(view.toPlainText().endsWith("b47b48b49\n"));
}

// Counts the paints of the widgets it watches.
class PaintCount : public QObject {
public:
    explicit PaintCount(std::initializer_list<QWidget*> watched) {
        for (QWidget* w : watched)
            w->installEventFilter(this);
    }
    int of(QObject* w) const { return m_counts.value(w); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++m_counts[watched];
        return false;
    }

private:
    QHash<QObject*, int> m_counts;
};

// Runs what a catch-up left posted (such as a layout), then paints what is waiting.
void paintPending(QWidget* window) {
    QCoreApplication::processEvents();
    QEvent paint(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &paint);
}

TEST(ReceiveTrickle, CatchingUpRepaintsNothingBehindTheRows) {
    for (const Mode& mode : {kModes[0], kModes[2]}) {
        SCOPED_TRACE(mode.name);
        TrickleWindow w(mode);
        ReceiveLogView& view = w.view();
        // Enough lines that the scroll bar's handle has its smallest size.
        for (int i = 0; i < 400; ++i)
            w.receive(deviceLine(i));
        ASSERT_TRUE(caughtUp(view));
        paintPending(w.form.get());
        QWidget* behind = view.parentWidget();
        PaintCount paints{&view,
                          behind,
                          w.form.get(),
                          view.viewport(),
                          view.verticalScrollBar(),
                          view.horizontalScrollBar()};
        constexpr int kSteps = 12;
        for (int step = 0; step < kSteps; ++step) {
            w.receive(deviceLine(400 + step));
            ASSERT_TRUE(caughtUp(view));
            paintPending(w.form.get());
        }
        EXPECT_EQ(paints.of(view.viewport()), kSteps) << "the new rows are drawn at each step";
        EXPECT_EQ(paints.of(&view), 0) << "the view's frame";
        EXPECT_EQ(paints.of(behind), 0) << "the group box behind the view";
        EXPECT_EQ(paints.of(w.form.get()), 0) << "the window";
        EXPECT_LE(paints.of(view.verticalScrollBar()), 1) << "a handle that does not move";
        EXPECT_EQ(paints.of(view.horizontalScrollBar()), 0);
    }
}

TEST(ReceiveTrickle, ScrollBarsShownOnlyWhenNeededStillComeAndGo) {
    testApp();
    ReceiveLogView view;
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view.resize(300, 150);
    view.show();
    view.appendLatin1("one short line\r\n");
    ASSERT_TRUE(caughtUp(view));
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());

    for (int i = 0; i < 40; ++i)
        view.appendLatin1(deviceLine(i));
    view.appendLatin1(QByteArray(200, 'w') + "\r\n");
    ASSERT_TRUE(caughtUp(view));
    EXPECT_TRUE(waitFor([&] { return view.verticalScrollBar()->isVisible(); })) << "more lines than fit";
    EXPECT_TRUE(waitFor([&] { return view.horizontalScrollBar()->isVisible(); }))
        << "a line wider than the view";
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum()) << "still at the end";

    view.clear();
    EXPECT_TRUE(waitFor([&] { return !view.verticalScrollBar()->isVisible(); })) << "nothing left to scroll";
    EXPECT_TRUE(waitFor([&] { return !view.horizontalScrollBar()->isVisible(); }));
}

// Compared with the view as it once was, the bar's look and signals do not change.
TEST(SteadyScrollBarTest, RangeAndValueTogetherRepaintOnlyWhenTheLookChanges) {
    testApp();
    QWidget window;
    window.resize(40, 300);
    auto* bar = new SteadyScrollBar(Qt::Vertical, &window);
    bar->setGeometry(0, 0, 16, 300);
    bar->setPageStep(10);
    bar->setRangeAndValue(0, 2000, 2000);
    window.show();
    paintPending(&window);
    PaintCount paints{bar};
    std::vector<int> values;
    int rangeChanges = 0;
    QObject::connect(bar, &QScrollBar::valueChanged, [&](int v) { values.push_back(v); });
    QObject::connect(bar, &QScrollBar::rangeChanged, [&] { ++rangeChanges; });

    // Following the end: the handle stays at its smallest at the bottom.
    for (int max = 2001; max <= 2010; ++max) {
        bar->setRangeAndValue(0, max, max);
        paintPending(&window);
    }
    EXPECT_EQ(paints.of(bar), 0);
    EXPECT_EQ(rangeChanges, 10);
    ASSERT_EQ(values.size(), 10u);
    EXPECT_EQ(values.back(), 2010);

    // Leaving the end changes the look (the handle moves, the lower arrow can move again).
    bar->setRangeAndValue(0, 2011, 1000);
    paintPending(&window);
    EXPECT_EQ(paints.of(bar), 1);
    EXPECT_EQ(bar->value(), 1000);

    // A value outside the range is bounded, as setValue bounds it.
    bar->setRangeAndValue(0, 50, 70);
    EXPECT_EQ(bar->value(), 50);
    bar->setRangeAndValue(10, 5, 0);
    EXPECT_EQ(bar->minimum(), 10);
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->value(), 10);
}

} // namespace
