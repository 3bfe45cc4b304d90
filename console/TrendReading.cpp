#include "app/MainFrm.h"

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
#include <QStandardPaths>
#include <QTabWidget>

namespace {

// The row's caption and unit labels, which a value label points to (see the page rows).
QString textOfLinked(const QObject* valueLabel, const char* link) {
    const auto* label = qobject_cast<const QLabel*>(valueLabel->property(link).value<QObject*>());
    return label ? controlCaption(label) : QString();
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
        const qint32 address = request.start + qint32(i);
        QObject* label = FindComponent(QStringLiteral("V") + QString::number(address));
        if (!label || !isStaticText(label) || componentTag(label) != address)
            continue;
        const auto value = ScaleAutoNumber(componentHint(label), values.at(i), decimalSeparator);
        if (!value)
            continue; // not shown either
        readings.append({request.page, address, *value, textOfLinked(label, "captionLabel"),
                         textOfLinked(label, "unitLabel")});
    }
    if (!readings.isEmpty())
        AutoTrend.record(MonotonicMs(), readings);
}

void TForm_Main::btn_TrendClick() {
    TrendView->setWindowTitle(controlCaption(btn_Trend));
    TrendView->show();
    TrendView->raise();
    TrendView->activateWindow();
}

void TForm_Main::ExportTrendCsv() {
    const Language language = this->language();
    // source: QT_TRANSLATE_NOOP("TrendReading", ...).
    const auto text = [language](const char* source) { return language.translate("TrendReading", source); };
    if (AutoTrend.size() == 0) {
        showMessage(text(QT_TRANSLATE_NOOP("TrendReading",
                                           "Nothing to export yet: no value has been read automatically.")));
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
    if (!file.open(QIODevice::WriteOnly) || !WriteTrendCsv(AutoTrend, file, language) || !file.commit()) {
        showErrorMessage(text(QT_TRANSLATE_NOOP("TrendReading", "Could not write %1: %2"))
                             .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    QString done =
        text(QT_TRANSLATE_NOOP("TrendReading", "Exported to %1.")).arg(QDir::toNativeSeparators(path));
    if (AutoTrend.dropped() > 0)
        done += text(QT_TRANSLATE_NOOP("TrendReading",
                                       " The oldest %1 values no longer fitted in memory and are not in it."))
                    .arg(AutoTrend.dropped());
    showMessage(done);
}
