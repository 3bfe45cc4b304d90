// Automatic reading and its trend as parts of their own, driven without the window: what
// the value labels and the health line say through polling, a closed port, an awaited
// device and a change of language, and the chart window's life beside its store.

#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/TrendReading.h"
#include "console/protocol/ModbusRtu.h"
#include "device/AutoReadingSession.h"
#include "device/ParameterModel.h"
#include "device/ScriptedLine.h"
#include "trend/TrendWindow.h"
#include "ui/FittedLinesLabel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// One Modbus page, station 1, registers 0 and 1; register 1 is shown tenfold smaller.
ParameterModel pollingModel(const TempAppDir& dir) {
    TestConfig config;
    config.autoRead =
        "<GROUP_AUTO><A caption=\"a\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
        "<T0 caption=\"t0\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T1 caption=\"t1\" hint=\"h\" addr=\"1\" constA=\"0\" constM=\"0.1\" unit=\"u\"/>"
        "</A></GROUP_AUTO>";
    dir.write("config.xml", config.xml());
    return ParameterModel::fromFile(dir.file("config.xml"));
}

struct Part {
    Part() {
        pages.addTab(new QWidget, "a");
        for (int address : {0, 1}) {
            auto* label = new QLabel("0.00", &pages);
            label->setToolTip("hint");
            values.append(label);
            reading.pages().rows.append(
                {QStringLiteral("T%1").arg(address), address, label, nullptr, nullptr});
        }
        reading.pages().blocks.append(TAutoRead{QStringLiteral("MODBUS"), 1, 0, 2});
        reading.ticker()->stop(); // ticked by hand
        reading.setLanguage(Language::english());
        QObject::connect(
            &reading, &AutoReading::valuesRead,
            [this](const ModbusExchange::Request&, const QList<quint16>& v) { shown.append(v); });
    }
    // Polls once and answers with the values.
    bool pollAnswered(const QList<quint16>& answer) {
        const qsizetype before = line.writes.size();
        reading.tick();
        if (!line.sentCount(before + 1))
            return false;
        line.device(ModbusReadReply(1, answer));
        return waitFor(
            [&] { return values[0]->isEnabled() && values[0]->text() == QString::number(answer[0]); });
    }
    QString health() const { return healthLine.fullText(); }

    TempAppDir dir;
    ParameterModel model = pollingModel(dir);
    ScriptedLine line;
    AutoReadingSession polling{line.session};
    QCheckBox enabled;
    QLineEdit interval{"1000"};
    FittedLinesLabel healthLine{4};
    QTabWidget pages;
    QList<QLabel*> values;
    AutoReading reading{{&enabled, &interval, &healthLine, &pages}, line.session, polling, model};
    QList<QList<quint16>> shown;
};

TEST(AutoReadingTest, PollsThePageInViewShowsScaledValuesAndHandsThemOnOnlyWhileRunning) {
    Part p;
    p.reading.tick();
    EXPECT_TRUE(p.line.writes.isEmpty()) << "not running: a tick asks nothing";

    p.reading.setRunning(true);
    ASSERT_TRUE(p.pollAnswered({7, 25}));
    EXPECT_EQ(p.values[1]->text(), "2.5");
    EXPECT_EQ(p.shown, (QList<QList<quint16>>{{7, 25}}));
    EXPECT_TRUE(p.health().startsWith("Sent 1 · good 1 · time-outs 0")) << p.health().toStdString();

    // An interval box below the minimum is ignored; a sound one applies from the next tick.
    p.interval.setText("100");
    p.reading.tick();
    EXPECT_EQ(p.reading.ticker()->interval(), 1000);
    p.interval.setText("2500");
    p.reading.tick();
    EXPECT_EQ(p.reading.ticker()->interval(), 2500);

    // Switched off while the second poll waits: its reply shows nothing and is handed to no
    // trend, and ticks ask nothing more.
    ASSERT_TRUE(p.line.sentCount(2));
    p.reading.setRunning(false);
    p.reading.tick();
    p.line.device(ModbusReadReply(1, {8, 26}));
    QCoreApplication::processEvents();
    EXPECT_EQ(p.line.writes.size(), 2);
    EXPECT_EQ(p.values[0]->text(), "7");
    EXPECT_EQ(p.shown.size(), 1);
}

// The connection tells of the port in either order (closed, then awaited; or awaited, then
// closed): the values say the device is awaited until it is given up, and only then that the
// port is closed. A device that came back is not called closed.
TEST(AutoReadingTest, ClosedAwaitedAndGivenUpPortsGreyTheValuesWithTheRightReason) {
    const QString closed = "The port is closed; the value shown is older";
    const QString awaited = "Waiting for the device to return; the value shown is older";
    for (const bool closedFirst : {true, false}) {
        Part p;
        p.reading.setRunning(true);
        ASSERT_TRUE(p.pollAnswered({1, 2}));
        if (closedFirst) {
            p.reading.onPortClosed();
            EXPECT_TRUE(p.values[0]->toolTip().startsWith(closed + "\nLast good value: "));
            p.reading.onAwaitingDevice(true);
        } else {
            p.reading.onAwaitingDevice(true);
            p.reading.onPortClosed();
        }
        for (QLabel* label : p.values) {
            EXPECT_FALSE(label->isEnabled());
            EXPECT_TRUE(label->toolTip().startsWith(awaited)) << label->toolTip().toStdString();
        }

        // The device is back: the port is open again before the wait ends.
        p.reading.onAwaitingDevice(false);
        p.reading.onPortOpened();
        EXPECT_TRUE(p.values[0]->toolTip().startsWith(awaited)) << "not read since, but not closed either";
        ASSERT_TRUE(p.pollAnswered({3, 4}));
        EXPECT_EQ(p.values[0]->toolTip(), "hint");

        // Awaited again and given up while the port is closed.
        p.reading.onAwaitingDevice(true);
        p.line.session.setWriter({});
        p.reading.onAwaitingDevice(false);
        for (QLabel* label : p.values)
            EXPECT_TRUE(label->toolTip().startsWith(closed)) << label->toolTip().toStdString();
        p.reading.onPortClosed();
        EXPECT_TRUE(p.values[0]->toolTip().startsWith(closed)) << "no longer awaited";
    }
}

// A language pass writes each label's hint in the new language over the reason; the reason
// comes back over it in that language, and the new hint is what a fresh value shows.
TEST(AutoReadingTest, ALanguageChangeRewordsTheReasonsAndKeepsTheNewHintForLater) {
    Part p;
    p.reading.setRunning(true);
    p.reading.onPortClosed();
    ASSERT_EQ(p.values[0]->toolTip(),
              "The port is closed; the value shown is older\nNo value has been read yet");

    p.values[0]->setToolTip("提示"); // the pass, before the parts hear of the language
    p.reading.setLanguage(Language::chinese());
    for (QLabel* label : p.values)
        EXPECT_EQ(label->toolTip(), "端口已关闭，显示的是之前的值\n尚未读到数值");
    EXPECT_TRUE(p.health().startsWith("已发 0 · 正常 0 · 超时 0")) << p.health().toStdString();

    // The same language applied again (the settings editor does): an edited hint is kept too.
    p.values[1]->setToolTip("新提示");
    p.reading.setLanguage(Language::chinese());
    EXPECT_EQ(p.values[1]->toolTip(), "端口已关闭，显示的是之前的值\n尚未读到数值");

    ASSERT_TRUE(p.pollAnswered({5, 6}));
    EXPECT_EQ(p.values[0]->toolTip(), "提示");
    EXPECT_EQ(p.values[1]->toolTip(), "新提示");
}

// The chart window reads the part's store: it goes with the part, and a console window
// deleted first takes the chart with it without the part deleting it twice.
TEST(AutoReadingTest, TheChartWindowNeverOutlivesItsStoreNorIsDeletedTwice) {
    testApp();
    TempAppDir dir;
    const ParameterModel model = pollingModel(dir);
    const QList<AutoValueControls> rows;
    const std::unique_ptr<XmlDocument> noDocument;
    for (const bool consoleFirst : {false, true}) {
        auto console = std::make_unique<QWidget>();
        auto* open = new QPushButton("Trend", console.get());
        auto* pages = new QTabWidget(console.get());
        auto trend = std::make_unique<TrendReading>(TrendControls{console.get(), open, pages}, rows, model,
                                                    noDocument);
        QPointer<TrendWindow> chart = trend->window();
        ASSERT_TRUE(chart);
        trend->record({0, 1, 0, 1}, {5}); // no row shows register 0: nothing is kept
        EXPECT_EQ(trend->store().size(), 0);
        trend->showWindow();
        EXPECT_EQ(chart->windowTitle(), "Trend");
        if (consoleFirst) {
            console.reset();
            EXPECT_FALSE(chart);
            EXPECT_EQ(trend->window(), nullptr);
            trend.reset();
        } else {
            trend.reset();
            EXPECT_FALSE(chart);
        }
    }
}

} // namespace
