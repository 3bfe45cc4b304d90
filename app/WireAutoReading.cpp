#include "app/MainFrm.h"

#include "console/AutoReading.h"
#include "console/TrendReading.h"
#include "trend/TrendWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

// Automatic reading over the polling session: the check box switches it, its ticks run for
// the window's whole life.
void TForm_Main::wireAutoReading() {
    autoReading = new AutoReading({chb_AutoRead, edt_AutoReadInte, lbl_ModbusHealth, pg_AUTO}, *Device,
                                  *Polling, Parameters, this);
    connect(chb_AutoRead, &QCheckBox::toggled, this,
            [this](bool on) { guarded([this, on] { autoReading->setRunning(on); }); });
}

// The trend chart records what automatic reading showed; its window's controls are named for
// the language tables and the settings editor like the window's own.
void TForm_Main::wireTrendReading() {
    trendReading = new TrendReading({this, btn_Trend, pg_AUTO}, autoReading->pages().rows, Parameters,
                                    ConfigDocument, this);
    TrendWindow* chart = trendReading->window();
    for (QWidget* control : std::initializer_list<QWidget*>{chart->lbl_TrendSpan, chart->cbb_TrendMinutes,
                                                            chart->lbl_TrendMinutes, chart->chk_TrendPause,
                                                            chart->btn_TrendExport}) {
        RegisterComponent(control, control->objectName());
        if (control != chart->cbb_TrendMinutes)
            setPopupMenu1(control);
    }
    connect(autoReading, &AutoReading::runStarted, trendReading, &TrendReading::startRun);
    connect(autoReading, &AutoReading::valuesRead, trendReading, &TrendReading::record);
    connect(btn_Trend, &QPushButton::clicked, this,
            [this] { guarded([this] { trendReading->showWindow(); }); });
    connect(chart, &TrendWindow::exportRequested, this,
            [this] { guarded([this] { trendReading->exportCsv(); }); });
}
