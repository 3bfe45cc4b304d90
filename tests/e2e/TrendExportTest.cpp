// The trend chart and its CSV export, fed by polling the simulated device.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/TrendReading.h"
#include "trend/TrendWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Station 1, registers 0..2 on the first page; the second page is not polled.
TestConfig trendConfig() {
    TestConfig config;
    config.autoRead =
        "<GROUP_AUTO><Live caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"3\">"
        "<Temp caption=\"温度\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"0.1\" unit=\"℃\"/>"
        "<Press caption=\"压力, 管道\" hint=\"h\" addr=\"1\" constA=\"-100\" constM=\"0.01\" unit=\"kPa\"/>"
        "<Count caption=\"计数\" hint=\"h\" addr=\"2\" constA=\"0\" constM=\"1\" unit=\"\"/>"
        "</Live><Stat caption=\"统计\" protocol=\"NONE\" equAddr=\"1\" startReg=\"9\" regLen=\"1\">"
        "<Hours caption=\"小时\" hint=\"h\" addr=\"9\" constA=\"0\" constM=\"1\" unit=\"h\"/>"
        "</Stat></GROUP_AUTO>";
    return config;
}

// Every register of the simulated device reads a fixed value by its address.
SimulatedDevice::Setup fixedValues() {
    SimulatedDevice::Setup setup;
    setup.blocks = {{1, 0, 3}};
    setup.dollarRegisters = true;
    return setup;
}

struct TrendPolling : TestWindow {
    TrendPolling() : TestWindow(trendConfig()) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        f.autoReading->ticker()->stop(); // the test ticks by hand
        f.trendReading->setPathChooser([this](const QString& suggested) {
            suggestedPath = suggested;
            return csvPath;
        });
    }
    ~TrendPolling() { f.Comm1->StopComm(); }

    // Polls n times, each once the reply before it was shown.
    bool poll(const DeviceLine& line, int n) {
        f.cbb_Port->setCurrentText(line.portPath());
        f.btn_Connect->click();
        f.chb_AutoRead->setChecked(true);
        for (int i = 0; i < n; ++i) {
            f.autoReading->tick();
            if (!waitFor([&] { return f.Device->modbus().health().good == quint64(i + 1); }))
                return false;
        }
        return true;
    }
    QString text(const char* label) const { return find<QLabel>(label)->text(); }

    TForm_Main& f = *form;
    QString csvPath = dir.file("trend.csv");
    QString suggestedPath;
};

TEST(TrendExportTest, ExportAfterAFewPollsHoldsEachPolledValueWithItsTime) {
    DeviceLine line(fixedValues());
    TrendPolling p;
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    ASSERT_TRUE(p.poll(line, 3));
    const QDateTime after = QDateTime::currentDateTime().addMSecs(1);
    // 0x2431, 0x3D37 and 0x0D0A, scaled.
    EXPECT_EQ(p.text("V0"), "926.5");
    EXPECT_EQ(p.text("V1"), "155.71");
    EXPECT_EQ(p.text("V2"), "3338");

    p.f.trendReading->window()->btn_TrendExport->click();
    EXPECT_TRUE(p.suggestedPath.endsWith(".csv"));
    EXPECT_EQ(p.presenter.messages, QStringList{"已导出到 " + p.csvPath + "。"});
    const QByteArray csv = p.dir.read("trend.csv");
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n");
    ASSERT_EQ(lines.size(), 5) << csv.toStdString(); // header, three polls, the empty end
    EXPECT_EQ(lines[0], "时间,温度 (℃),\"压力, 管道 (kPa)\",计数");
    QDateTime previous = before;
    for (int i = 1; i <= 3; ++i) {
        const QStringList cells = lines[i].split(',');
        ASSERT_EQ(cells.size(), 4) << lines[i].toStdString();
        EXPECT_EQ(cells.mid(1), (QStringList{"926.5", "155.71", "3338"}));
        const QDateTime at = QDateTime::fromString(cells[0], "yyyy-MM-dd HH:mm:ss.zzz");
        ASSERT_TRUE(at.isValid()) << cells[0].toStdString();
        EXPECT_GE(at, previous);
        EXPECT_LE(at, after);
        previous = at;
    }
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST(TrendExportTest, TheChartDrawsThePageInViewAndANewPollingRunStartsAfresh) {
    DeviceLine line(fixedValues());
    TrendPolling p;
    ASSERT_TRUE(p.poll(line, 2));
    p.f.btn_Trend->click();
    TrendWindow& chart = *p.f.trendReading->window();
    ASSERT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.windowTitle(), "趋势图");
    // Both polls fall in one slice of the ten minutes shown, and their values are equal: one point.
    ASSERT_TRUE(waitFor([&] { return chart.seriesOf(2) && chart.seriesOf(2)->count() == 1; }));
    EXPECT_EQ(chart.seriesOf(0)->name(), "温度 (℃)");
    EXPECT_EQ(chart.seriesOf(2)->name(), "计数");
    EXPECT_EQ(chart.seriesOf(1)->at(0).y(), 155.71);
    EXPECT_TRUE(chart.hoverText(0, chart.seriesOf(0)->at(0).x()).startsWith("温度: 926"));

    // The other page in view: none of its values were polled, so nothing is drawn.
    p.f.pg_AUTO->setCurrentIndex(1);
    chart.redraw();
    EXPECT_EQ(chart.seriesOf(0), nullptr);

    // Polling again starts a new run: the export holds only its values.
    p.f.pg_AUTO->setCurrentIndex(0);
    p.f.chb_AutoRead->setChecked(false);
    p.f.chb_AutoRead->setChecked(true);
    EXPECT_EQ(p.f.trendReading->store().size(), 0);
    p.f.autoReading->tick();
    ASSERT_TRUE(waitFor([&] { return p.f.trendReading->store().size() == 3; }));
    chart.redraw();
    EXPECT_EQ(chart.seriesOf(0)->count(), 1);
    p.f.trendReading->window()->btn_TrendExport->click();
    EXPECT_EQ(QString::fromUtf8(p.dir.read("trend.csv")).count("\r\n"), 2);
}

} // namespace
