#include "trend/TrendWindow.h"

#include "console/protocol/TrendCsv.h"
#include "ui/ComponentRegistry.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultMinutes = 10;
constexpr int kRedrawMs = 500;

} // namespace

TrendWindow::TrendWindow(const TrendStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(store) {
    setObjectName(QStringLiteral("TrendWindow"));
    resize(900, 520);
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    column->addLayout(row);

    lbl_TrendSpan = new QLabel(QStringLiteral("显示最近"), this);
    lbl_TrendSpan->setObjectName(QStringLiteral("lbl_TrendSpan"));
    cbb_TrendMinutes = new QComboBox(this);
    cbb_TrendMinutes->setObjectName(QStringLiteral("cbb_TrendMinutes"));
    cbb_TrendMinutes->addItems({"1", "5", "10", "30", "60"});
    cbb_TrendMinutes->setCurrentText(QString::number(kDefaultMinutes));
    lbl_TrendMinutes = new QLabel(QStringLiteral("分钟"), this);
    lbl_TrendMinutes->setObjectName(QStringLiteral("lbl_TrendMinutes"));
    chk_TrendPause = new QCheckBox(QStringLiteral("暂停"), this);
    chk_TrendPause->setObjectName(QStringLiteral("chk_TrendPause"));
    btn_TrendExport = new QPushButton(QStringLiteral("导出CSV"), this);
    btn_TrendExport->setObjectName(QStringLiteral("btn_TrendExport"));
    // English texts for a configuration file written before the chart existed.
    setKnownEnglish(lbl_TrendSpan, QStringLiteral("Show the last"), {});
    setKnownEnglish(lbl_TrendMinutes, QStringLiteral("minutes"), {});
    setKnownEnglish(chk_TrendPause, QStringLiteral("Pause"), {});
    btn_TrendExport->setToolTip(QStringLiteral("把本次自动读取的全部数值存为表格文件"));
    setKnownEnglish(btn_TrendExport, QStringLiteral("Export CSV"),
                    QStringLiteral("Saves every value of this polling run as a spreadsheet file"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{lbl_TrendSpan, cbb_TrendMinutes, lbl_TrendMinutes, chk_TrendPause})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(btn_TrendExport);
    column->addStretch(1); // the chart takes this place once built

    m_timer = new QTimer(this);
    m_timer->setInterval(kRedrawMs);
    connect(m_timer, &QTimer::timeout, this, &TrendWindow::redraw);
    // A language pass refills the minutes box while the window is hidden: nothing to draw then.
    auto redrawShown = [this] {
        if (isVisible())
            redraw();
    };
    connect(cbb_TrendMinutes, &QComboBox::currentIndexChanged, this, redrawShown);
    connect(chk_TrendPause, &QCheckBox::toggled, this, redrawShown);
    connect(btn_TrendExport, &QPushButton::clicked, this, &TrendWindow::exportRequested);
}

int TrendWindow::minutes() const {
    static const QRegularExpression leading(QStringLiteral(R"(^\s*(\d{1,4}))"));
    const QRegularExpressionMatch m = leading.match(cbb_TrendMinutes->currentText());
    const int value = m.hasMatch() ? m.captured(1).toInt() : 0;
    return value > 0 ? value : kDefaultMinutes;
}

void TrendWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    redraw();
    m_timer->start();
}

void TrendWindow::hideEvent(QHideEvent* event) {
    m_timer->stop();
    m_hoverChannel = -1;
    QToolTip::hideText();
    QWidget::hideEvent(event);
}

// The view asks its scene for a tooltip once the pointer rests, and the scene, knowing none,
// hides the one a line's hover showed. While the pointer is on a line, that line's text is
// the answer.
bool TrendWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_view && watched == m_view->viewport() && m_hoverChannel >= 0 &&
        m_series.contains(m_hoverChannel)) {
        const QString text = hoverText(m_hoverChannel, m_hoverX);
        if (!text.isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, m_view);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Built on first show only, so a console whose chart is never opened pays nothing for it.
void TrendWindow::buildChart() {
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_valueAxis = new QValueAxis;
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("TrendView"));
    m_view->setRenderHint(QPainter::Antialiasing, false);
    m_view->viewport()->installEventFilter(this);
    auto* column = static_cast<QVBoxLayout*>(layout());
    delete column->takeAt(column->count() - 1); // the stretch held its place
    column->addWidget(m_view, 1);
}

void TrendWindow::clearSeries() {
    for (QLineSeries* s : std::as_const(m_series)) {
        m_chart->removeSeries(s);
        delete s;
    }
    m_series.clear();
}

// One line per channel of the page in view, named by its caption and unit.
void TrendWindow::syncSeries(const QList<int>& channels) {
    if (m_run != m_store.run()) {
        clearSeries(); // a new polling run numbers its channels afresh
        m_run = m_store.run();
    }
    for (auto it = m_series.begin(); it != m_series.end();) {
        if (channels.contains(it.key())) {
            ++it;
            continue;
        }
        m_chart->removeSeries(it.value());
        delete it.value();
        it = m_series.erase(it);
    }
    for (int channel : channels) {
        QLineSeries* s = m_series.value(channel);
        if (!s) {
            s = new QLineSeries;
            m_chart->addSeries(s);
            s->attachAxis(m_timeAxis);
            s->attachAxis(m_valueAxis);
            connect(s, &QLineSeries::hovered, this, [this, channel](const QPointF& point, bool on) {
                m_hoverChannel = on ? channel : -1;
                m_hoverX = point.x();
                if (on)
                    QToolTip::showText(QCursor::pos(), hoverText(channel, point.x()), m_view);
                else
                    QToolTip::hideText();
            });
            m_series.insert(channel, s);
        }
        const QString title = TrendColumnTitle(m_store.channels()[size_t(channel)]);
        if (s->name() != title)
            s->setName(title);
    }
}

void TrendWindow::redraw() {
    if (chk_TrendPause->isChecked())
        return;
    if (!m_chart)
        buildChart();
    const int page = m_pageInView ? m_pageInView() : 0;
    QList<int> channels;
    for (size_t c = 0; c < m_store.channels().size(); ++c)
        if (m_store.channels()[c].page == page)
            channels.append(int(c));
    syncSeries(channels);

    const qint64 span = qint64(minutes()) * 60'000;
    const qint64 to = std::max(m_store.lastMs(), span);
    const qint64 from = to - span;
    const int buckets = std::max(100, int(m_chart->plotArea().width()));
    const QList<QList<TrendStore::Sample>> lines = m_store.thinned(channels, from, to, buckets);
    const double epoch = double(m_store.startedAt().toMSecsSinceEpoch());
    double low = INFINITY, high = -INFINITY;
    for (qsizetype k = 0; k < channels.size(); ++k) {
        QList<QPointF> points;
        points.reserve(lines[k].size());
        for (const TrendStore::Sample& s : lines[k]) {
            points.append({epoch + double(s.ms), s.value});
            low = std::min(low, s.value);
            high = std::max(high, s.value);
        }
        m_series.value(channels[k])->replace(points);
    }
    // Never left at the axis's own empty range: a chart laid out once without a time range
    // draws no times or grid lines even after values come. Before polling starts the span
    // ends at the present.
    const QDateTime base =
        m_store.startedAt().isValid() ? m_store.startedAt() : QDateTime::currentDateTime().addMSecs(-span);
    m_timeAxis->setRange(base.addMSecs(from), base.addMSecs(to));
    if (low > high)
        low = 0, high = 1;
    const double margin = high > low ? (high - low) * 0.05 : std::max(1.0, std::abs(high) * 0.05);
    m_valueAxis->setRange(low - margin, high + margin);
}

QString TrendWindow::hoverText(int channel, double epochMs) const {
    const qint64 ms = qint64(std::llround(epochMs)) - m_store.startedAt().toMSecsSinceEpoch();
    const std::optional<TrendStore::Sample> sample = m_store.nearest(channel, ms);
    return sample ? TrendPointText(m_store, channel, *sample, m_decimalSeparator) : QString();
}
