#include "trend/TrendWindow.h"
#include "console/PageBuilderFixture.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPushButton>
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
    f.ChooseTrendCsvPath = [&](const QString&) {
        ++asked;
        return answer;
    };
    f.TrendView->btn_TrendExport->click();
    EXPECT_EQ(asked, 0) << "nothing recorded: no file is asked for";
    EXPECT_EQ(w.presenter.messages, QStringList{"尚无可导出的数据：还没有自动读取到数值。"});

    f.StartTrend();
    f.AutoTrend.record(f.AutoTrend.lastMs(), {reading(1, 1)});
    w.presenter.messages.clear();
    f.TrendView->btn_TrendExport->click(); // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.presenter.messages.isEmpty());

    answer = w.dir.file("missing-folder/trend.csv");
    f.LanguageCode = "EN";
    f.TrendView->btn_TrendExport->click();
    ASSERT_EQ(w.presenter.errors.size(), 1);
    EXPECT_TRUE(w.presenter.errors[0].startsWith("Could not write " + answer + ": "))
        << w.presenter.errors[0].toStdString();
    EXPECT_EQ(w.presenter.messages, w.presenter.errors) << "no success message";
}

} // namespace
