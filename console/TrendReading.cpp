#include "app/MainFrm.h"
#include "ui/ScreenPlacement.h"

#include "config/XmlDocument.h"
#include "console/AutoValueLabels.h"
#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/RegionalFormats.h"
#include "console/protocol/TrendCsv.h"
#include "trend/TrendWindow.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlCaption.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>

namespace {

bool inEnglish(const TForm_Main& form) {
    return form.LanguageCode == QLatin1String("EN");
}

// What the language pass writes for a text nobody has given yet. Such a text names nothing,
// and lines or columns all called by it could not be told apart.
bool isPlaceholder(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("Right click to set") ||
           t == QStringLiteral("请点击右键设置显示内容") || t == QStringLiteral("请点击右键设置提示信息");
}

// The caption the language table gives a control in the language that is not in use.
QString otherLanguageCaption(const TForm_Main& form, const QString& name) {
    if (!form.ConfigDocument)
        return {};
    const XmlNode labels = form.ConfigDocument->findRoot()
                               .findChild(QStringLiteral("LANGUAGE"))
                               .findChild(QStringLiteral("COMPONETS"))
                               .findChild(QStringLiteral("LABEL"));
    if (labels.isNull())
        return {};
    const QString attribute = inEnglish(form) ? QStringLiteral("captionCN") : QStringLiteral("captionEN");
    for (int i = 0; i < labels.childCount(); ++i) {
        const XmlNode entry = labels.child(i);
        if (entry.readAttribute(QStringLiteral("name")) == name)
            return shownCaption(entry.readAttribute(attribute));
    }
    return {};
}

// A value's name (its caption label) or unit (its unit label) on the chart and in the export:
// the label's text in the language in use, else the other language's, else the fallback (the
// row's tag for a name). Looked up once per text and language.
QString trendTextOf(const TForm_Main& form, QLabel* label, const QString& fallback) {
    if (!label)
        return fallback;
    const QString shown = controlCaption(label);
    const QString key = form.LanguageCode + QChar(0x1F) + shown;
    if (label->property("trendTextKey").toString() == key)
        return label->property("trendText").toString();
    QString text = shown.trimmed();
    if (isPlaceholder(text))
        text = otherLanguageCaption(form, label->objectName()).trimmed();
    if (isPlaceholder(text))
        text = fallback;
    label->setProperty("trendTextKey", key);
    label->setProperty("trendText", text);
    return text;
}

QString suggestedCsvPath(const TrendStore& store) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(
        QStringLiteral("trend-%1.csv").arg(store.startedAt().toString("yyyyMMdd-HHmmss")));
}

} // namespace

TrendWindow* TForm_Main::createTrendWindow() {
    auto* window = new TrendWindow(AutoTrend, this);
    window->hide();
    window->setPageSource([this] { return pg_AUTO->currentIndex(); });
    window->setDecimalSeparator(RegionalFormats::system().decimalSeparator);
    for (QWidget* control : std::initializer_list<QWidget*>{window->lbl_TrendSpan, window->cbb_TrendMinutes,
                                                            window->lbl_TrendMinutes, window->chk_TrendPause,
                                                            window->btn_TrendExport}) {
        RegisterComponent(control, control->objectName());
        if (control != window->cbb_TrendMinutes)
            setPopupMenu1(control);
    }
    connect(window, &TrendWindow::exportRequested, this, [this] { guarded([this] { ExportTrendCsv(); }); });
    return window;
}

void TForm_Main::StartTrend() {
    AutoTrend.start(QDateTime::currentDateTime(), MonotonicMs());
}

// The values a good reply showed, scaled as their labels show them.
void TForm_Main::RecordTrend(const ModbusExchange::Request& request, const QList<quint16>& values) {
    if (!AutoTrend.startedAt().isValid())
        StartTrend();
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    QList<TrendStore::Reading> readings;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const AutoValueControls* shown = autoValueRowAt(Console, request.start + qint32(i));
        if (!shown)
            continue;
        const AutoValueControls& row = *shown;
        const PolledValue* polled = Parameters.polledByTag(row.tag);
        const auto value = polled ? ScaledNumberOf(*polled, values.at(i), decimalSeparator) : std::nullopt;
        if (!value)
            continue; // not shown either
        readings.append({request.page, row.address, *value, trendTextOf(*this, row.caption, row.tag),
                         trendTextOf(*this, row.unit, QString())});
    }
    if (!readings.isEmpty())
        AutoTrend.record(MonotonicMs(), readings);
}

void TForm_Main::btn_TrendClick() {
    TrendView->setWindowTitle(controlCaption(btn_Trend));
    // Opened the first time on the console's screen and no larger than it: a small laptop
    // screen would otherwise cut off its lower part with the chart's axis.
    if (!TrendView->isVisible()) {
        if (const QScreen* screen = this->screen()) {
            const QRect placed = PlacementOnScreen(TrendView->size(), screen->availableGeometry());
            TrendView->resize(placed.size().expandedTo(TrendView->minimumSizeHint()));
            TrendView->move(placed.topLeft());
        }
    }
    TrendView->show();
    TrendView->raise();
    TrendView->activateWindow();
}

void TForm_Main::ExportTrendCsv() {
    const bool english = inEnglish(*this);
    if (AutoTrend.size() == 0) {
        showMessage(english ? QStringLiteral("Nothing to export yet: no value has been read automatically.")
                            : QStringLiteral("尚无可导出的数据：还没有自动读取到数值。"));
        return;
    }
    const QString suggested = suggestedCsvPath(AutoTrend);
    const QString path =
        ChooseTrendCsvPath
            ? ChooseTrendCsvPath(suggested)
            : QFileDialog::getSaveFileName(TrendView, controlCaption(TrendView->btn_TrendExport), suggested,
                                           QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // Written whole or not at all: an existing file is replaced only by a complete export.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !WriteTrendCsv(AutoTrend, file, language()) || !file.commit()) {
        showErrorMessage(
            (english ? QStringLiteral("Could not write %1: %2") : QStringLiteral("无法写入 %1：%2"))
                .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    QString done = english ? QStringLiteral("Exported to %1.") : QStringLiteral("已导出到 %1。");
    done = done.arg(QDir::toNativeSeparators(path));
    if (AutoTrend.dropped() > 0)
        done += english
                    ? QStringLiteral(" The oldest %1 values no longer fitted in memory and are not in it.")
                          .arg(AutoTrend.dropped())
                    : QStringLiteral("最早的 %1 个数值已超出内存容量，未包含在内。").arg(AutoTrend.dropped());
    showMessage(done);
}
