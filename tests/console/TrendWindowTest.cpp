#include "trend/TrendWindow.h"
#include "console/PageBuilderFixture.h"
#include "console/TrendReading.h"
#include "console/protocol/TrendCsv.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

TrendStore::Reading reading(qint32 address, double value, int page = 0) {
    return {page, address, value, QStringLiteral("v%1").arg(address), QString()};
}

struct Chart {
    Chart() {
        store.start(QDateTime(QDate(2026, 5, 6), QTime(7, 0, 0)), 0);
        window.setPageSource([this] { return page; });
    }
    QDateTimeAxis* timeAxis() const {
        return qobject_cast<QDateTimeAxis*>(window.chart()->axes(Qt::Horizontal).value(0));
    }
    QApplication& app = testApp(); // before the window
    TrendStore store;
    TrendWindow window{store};
    int page = 0;
};

TEST(TrendWindowTest, TheSpanIsTheChosenMinutesEndingAtTheLatestSample) {
    Chart c;
    for (int s = 0; s <= 20 * 60; s += 30)
        c.store.record(qint64(s) * 1000, {reading(1, s)});
    c.window.redraw();
    EXPECT_EQ(c.window.minutes(), 10);
    EXPECT_EQ(c.timeAxis()->min(), QDateTime(QDate(2026, 5, 6), QTime(7, 10, 0)));
    EXPECT_EQ(c.timeAxis()->max(), QDateTime(QDate(2026, 5, 6), QTime(7, 20, 0)));
    EXPECT_EQ(c.window.seriesOf(0)->at(0).y(), 600) << "nothing before the span";

    c.window.cbb_TrendMinutes->setCurrentText("60");
    c.window.redraw();
    EXPECT_EQ(c.timeAxis()->min(), QDateTime(QDate(2026, 5, 6), QTime(7, 0, 0)))
        << "a run shorter than the span starts at its start";
    EXPECT_EQ(c.window.seriesOf(0)->at(0).y(), 0);

    // Entries edited into words fall back to ten minutes; a leading number counts.
    c.window.cbb_TrendMinutes->addItems({"30 min", "abc", "0"});
    const std::pair<const char*, int> choices[] = {{"30 min", 30}, {"abc", 10}, {"0", 10}};
    for (const auto& [text, minutes] : choices) {
        c.window.cbb_TrendMinutes->setCurrentText(text);
        EXPECT_EQ(c.window.minutes(), minutes) << text;
    }
}

TEST(TrendWindowTest, PauseHoldsTheLinesWhileRecordingGoesOn) {
    Chart c;
    c.store.record(0, {reading(1, 5)});
    c.window.redraw();
    ASSERT_EQ(c.window.seriesOf(0)->count(), 1);
    c.window.chk_TrendPause->setChecked(true);
    c.store.record(200'000, {reading(1, 6)});
    c.window.redraw();
    EXPECT_EQ(c.window.seriesOf(0)->count(), 1);
    c.window.show();
    c.window.chk_TrendPause->setChecked(false); // redraws at once
    EXPECT_EQ(c.window.seriesOf(0)->count(), 2);
    c.window.hide();
}

TEST(TrendWindowTest, LinesFollowThePageInViewAndTheirCaptions) {
    Chart c;
    c.store.record(0, {reading(1, 1), reading(2, 2)});
    c.store.record(10, {reading(9, 9, 1)});
    c.window.redraw();
    EXPECT_NE(c.window.seriesOf(0), nullptr);
    EXPECT_EQ(c.window.seriesOf(2), nullptr);
    EXPECT_EQ(c.window.chart()->series().size(), 2);

    c.page = 1;
    auto renamed = reading(9, 10, 1);
    renamed.caption = "Hours";
    renamed.unit = "h";
    c.store.record(20, {renamed});
    c.window.redraw();
    EXPECT_EQ(c.window.seriesOf(0), nullptr);
    ASSERT_NE(c.window.seriesOf(2), nullptr);
    EXPECT_EQ(c.window.seriesOf(2)->name(), "Hours (h)");
    EXPECT_EQ(c.window.chart()->series().size(), 1);
    EXPECT_EQ(c.window.hoverText(2, QDateTime(QDate(2026, 5, 6), QTime(7, 0, 0)).toMSecsSinceEpoch() + 18.0),
              "Hours: 10 h\n2026-05-06 07:00:00.020");
}

TEST(TrendWindowTest, ExportSaysWhyNothingWasWrittenAndNeverClaimsSuccessOnAFailure) {
    TestWindow w(TestConfig{});
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;
    int asked = 0;
    QString answer;
    f.trendReading->setPathChooser([&](const QString&) {
        ++asked;
        return answer;
    });
    f.trendReading->window()->btn_TrendExport->click();
    EXPECT_EQ(asked, 0) << "nothing recorded: no file is asked for";
    EXPECT_EQ(w.presenter.messages, QStringList{"尚无可导出的数据：还没有自动读取到数值。"});

    f.trendReading->startRun();
    f.trendReading->store().record(f.trendReading->store().lastMs(), {reading(1, 1)});
    w.presenter.messages.clear();
    f.trendReading->window()->btn_TrendExport->click(); // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.presenter.messages.isEmpty());

    answer = w.dir.file("missing-folder/trend.csv");
    f.trendReading->setLanguage(Language::english());
    f.trendReading->window()->btn_TrendExport->click();
    ASSERT_EQ(w.presenter.errors.size(), 1);
    EXPECT_TRUE(w.presenter.errors[0].startsWith("Could not write " + answer + ": "))
        << w.presenter.errors[0].toStdString();
    EXPECT_EQ(w.presenter.messages, w.presenter.errors) << "no success message";
}

} // namespace

namespace {

// Opened before automatic reading starts: the chart is built over an empty store, and the
// first values must still bring a time axis with its grid.
TEST(TrendWindowTest, TheTimeAxisAppearsWithTheFirstValuesWhenOpenedBeforeReading) {
    QApplication& app = testApp();
    (void)app;
    TrendStore store;
    TrendWindow window(store);
    window.setPageSource([] { return 0; });
    window.show();
    QCoreApplication::processEvents(); // laid out and drawn with nothing recorded
    const QDateTime start(QDate(2026, 5, 6), QTime(7, 0, 0));
    store.start(start, 1000);
    for (int s = 0; s <= 300; s += 1)
        store.record(1000 + qint64(s) * 1000, {reading(1, s % 7)});
    window.redraw();
    auto* axis = qobject_cast<QDateTimeAxis*>(window.chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_TRUE(axis->isVisible());
    EXPECT_TRUE(axis->isGridLineVisible());
    EXPECT_TRUE(axis->labelsVisible());
    EXPECT_EQ(axis->max(), start.addSecs(600)) << "the span still fills from the start";
    EXPECT_EQ(axis->min(), start);
    ASSERT_NE(window.seriesOf(0), nullptr);
    EXPECT_TRUE(window.seriesOf(0)->attachedAxes().contains(axis));
    EXPECT_GE(window.seriesOf(0)->count(), 50);
    QCoreApplication::processEvents();
    // The times written under the axis, as drawn.
    QStringList times;
    static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
    for (QGraphicsItem* item : window.chart()->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            if (time.match(text->toPlainText()).hasMatch())
                times << text->toPlainText();
    times.sort();
    EXPECT_GE(times.size(), 3) << times.join(' ').toStdString();
    EXPECT_EQ(times.value(0), "07:00:00") << times.join(' ').toStdString();
    window.hide();
}

} // namespace

namespace {

// The pointer resting on a line keeps the value's tooltip: the view's own tooltip event,
// which comes a moment later, must not take it away.
TEST(TrendWindowTest, TheHoverTooltipStaysWhileThePointerRestsOnTheLine) {
    Chart c;
    c.store.record(0, {reading(1, 5)});
    c.store.record(1000, {reading(1, 6)});
    c.window.show();
    c.window.chk_TrendPause->setChecked(true);
    QCoreApplication::processEvents(); // shown and activated, which hides any tooltip
    QLineSeries* line = c.window.seriesOf(0);
    ASSERT_NE(line, nullptr);
    const QPointF point(QDateTime(QDate(2026, 5, 6), QTime(7, 0, 1)).toMSecsSinceEpoch(), 6);
    emit line->hovered(point, true);
    const QString expected = "v1: 6\n2026-05-06 07:00:01.000";
    ASSERT_TRUE(waitFor([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), expected);

    auto* view = c.window.findChild<QChartView*>("TrendView");
    ASSERT_NE(view, nullptr);
    const QPoint at = view->viewport()->rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &rest);
    EXPECT_TRUE(rest.isAccepted()) << "answered with the line's text, not with the scene's empty one";
    // An empty answer hides the tooltip a moment later; nothing may hide it while resting.
    EXPECT_FALSE(waitFor([] { return !QToolTip::isVisible(); }, 1500));
    EXPECT_EQ(QToolTip::text(), expected);

    emit line->hovered(point, false); // the pointer leaves the line
    EXPECT_TRUE(waitFor([] { return !QToolTip::isVisible(); }));
    c.window.hide();
}

} // namespace

namespace {

// A file whose automatic-reading rows have no English texts: in English the rows show the
// placeholder, but the chart and the export name each value by its Chinese caption, and a
// row without any caption by its tag.
TEST(TrendWindowTest, LegendsAndColumnsNeverShowAPlaceholder) {
    TestConfig config;
    config.autoRead =
        "<GROUP_AUTO><A caption=\"甲\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
        "<T0 caption=\"温度\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"°C\"/>"
        "<T1 caption=\"\" hint=\"h\" addr=\"1\" constA=\"0\" constM=\"1\" unit=\"\"/>"
        "</A></GROUP_AUTO>";
    TestWindow w(config);
    ASSERT_EQ(w.build(), "");
    TForm_Main& f = *w.form;
    f.CreateLanguageNode(); // entries with English placeholders, as a first start in Chinese makes
    f.btn_SecondLanguage->click();
    ASSERT_EQ(f.LanguageCode, "EN");
    ASSERT_EQ(w.find<QLabel>("lbl_T0")->text(), "Right click to set") << "the case this is about";

    f.trendReading->record({0, 1, 0, 2}, {20, 21});
    ASSERT_EQ(f.trendReading->store().channels().size(), 2u);
    EXPECT_EQ(TrendColumnTitle(f.trendReading->store().channels()[0]), "温度 (°C)");
    EXPECT_EQ(TrendColumnTitle(f.trendReading->store().channels()[1]), "T1");
    const QByteArray csv = TrendCsvText(f.trendReading->store(), Language::english());
    EXPECT_TRUE(csv.contains("Time,温度 (°C),T1\r\n")) << csv.left(80).toStdString();

    f.trendReading->window()->show();
    f.trendReading->window()->redraw();
    ASSERT_NE(f.trendReading->window()->seriesOf(0), nullptr);
    EXPECT_EQ(f.trendReading->window()->seriesOf(0)->name(), "温度 (°C)");
    EXPECT_EQ(f.trendReading->window()->seriesOf(1)->name(), "T1");
    f.trendReading->window()->hide();

    // Given an English caption, English shows it; Chinese keeps its own.
    w.find<QLabel>("lbl_T0")->setText("Temperature");
    f.trendReading->record({0, 1, 0, 2}, {20, 21});
    EXPECT_EQ(f.trendReading->store().channels()[0].caption, "Temperature");
}

} // namespace
