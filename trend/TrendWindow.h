#pragma once

#include "console/protocol/TrendStore.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QPushButton;
class QTimer;
class QValueAxis;

// The automatic-reading values of the page in view plotted against time, over the last
// minutes chosen, redrawn twice a second while shown and not paused. It only draws what the
// store holds; what to record and exporting belong to the main window.
class TrendWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrendWindow(const TrendStore& store, QWidget* parent = nullptr);

    // The page whose values are drawn (the one in view), and the decimal separator the value
    // labels write with.
    void setPageSource(std::function<int()> pageInView) { m_pageInView = std::move(pageInView); }
    void setDecimalSeparator(const QString& separator) { m_decimalSeparator = separator; }

    // The span shown: the chosen entry's leading number of minutes; 10 when it has none.
    int minutes() const;
    // Redraws from the store now, unless paused. Builds the chart on first use.
    void redraw();
    // What hovering at a time (ms since the epoch) over a channel's line shows.
    QString hoverText(int channel, double epochMs) const;

    QChart* chart() const { return m_chart; }
    // The drawn line of a channel, or nullptr.
    QLineSeries* seriesOf(int channel) const { return m_series.value(channel); }

    // The controls, named for the language tables and the settings editor.
    QLabel* lbl_TrendSpan = nullptr;
    QComboBox* cbb_TrendMinutes = nullptr;
    QLabel* lbl_TrendMinutes = nullptr;
    QCheckBox* chk_TrendPause = nullptr;
    QPushButton* btn_TrendExport = nullptr;

signals:
    void exportRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildChart();
    void syncSeries(const QList<int>& channels);
    void clearSeries();

    const TrendStore& m_store;
    std::function<int()> m_pageInView;
    QString m_decimalSeparator = QStringLiteral(".");
    QTimer* m_timer = nullptr;
    QChartView* m_view = nullptr;
    QChart* m_chart = nullptr;
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QHash<int, QLineSeries*> m_series; // by channel
    quint64 m_run = 0;                 // the store's run the series belong to
    int m_hoverChannel = -1;           // the line under the pointer, or -1
    double m_hoverX = 0;               // where on it (ms since the epoch)
};
