#include "console/TrendReading.h"

#include "config/XmlDocument.h"
#include "console/AutoValueLabels.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/RegionalFormats.h"
#include "console/protocol/TrendCsv.h"
#include "device/ParameterModel.h"
#include "trend/TrendWindow.h"
#include "ui/ControlCaption.h"
#include "ui/MessageBoxes.h"
#include "ui/ScreenPlacement.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <limits>

namespace {

// What the language pass writes for a text nobody has given yet. Such a text names nothing,
// and lines or columns all called by it could not be told apart.
bool isPlaceholder(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("Right click to set") ||
           t == QStringLiteral("请点击右键设置显示内容") || t == QStringLiteral("请点击右键设置提示信息");
}

QString suggestedCsvPath(const TrendStore& store) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(
        QStringLiteral("trend-%1.csv").arg(store.startedAt().toString("yyyyMMdd-HHmmss")));
}

} // namespace

TrendReading::TrendReading(const TrendControls& controls, const QList<AutoValueControls>& rows,
                           const ParameterModel& model, const std::unique_ptr<XmlDocument>& configuration,
                           QObject* parent)
    : QObject(parent), m_controls(controls), m_rows(rows), m_model(model), m_configuration(configuration) {
    m_window = new TrendWindow(m_store, controls.console);
    m_window->hide();
    m_window->setPageSource([pages = controls.pages] { return pages->currentIndex(); });
    m_window->setDecimalSeparator(RegionalFormats::system().decimalSeparator);
}

TrendReading::~TrendReading() {
    // The chart reads the store, which goes with this object.
    delete m_window;
}

TrendWindow* TrendReading::window() const {
    return m_window;
}

void TrendReading::setLanguage(Language language) {
    m_language = language;
    if (m_window)
        m_window->setWindowTitle(controlCaption(m_controls.open));
}

void TrendReading::startRun() {
    m_store.start(QDateTime::currentDateTime(), MonotonicMs());
}

// The caption the language table gives a control in the language that is not in use.
QString TrendReading::otherLanguageCaption(const QString& controlName) const {
    if (!m_configuration)
        return {};
    const XmlNode labels = m_configuration->findRoot()
                               .findChild(QStringLiteral("LANGUAGE"))
                               .findChild(QStringLiteral("COMPONETS"))
                               .findChild(QStringLiteral("LABEL"));
    if (labels.isNull())
        return {};
    const QString attribute =
        m_language.isEnglish() ? QStringLiteral("captionCN") : QStringLiteral("captionEN");
    for (int i = 0; i < labels.childCount(); ++i) {
        const XmlNode entry = labels.child(i);
        if (entry.readAttribute(QStringLiteral("name")) == controlName)
            return shownCaption(entry.readAttribute(attribute));
    }
    return {};
}

// A value's name (its caption label) or unit (its unit label) on the chart and in the export:
// the label's text in the language in use, else the other language's, else the fallback (the
// row's tag for a name). Looked up once per text and language.
QString TrendReading::textOf(QLabel* label, const QString& fallback) const {
    if (!label)
        return fallback;
    const QString shown = controlCaption(label);
    const QString key = m_language.code() + QChar(0x1F) + shown;
    if (label->property("trendTextKey").toString() == key)
        return label->property("trendText").toString();
    QString text = shown.trimmed();
    if (isPlaceholder(text))
        text = otherLanguageCaption(label->objectName()).trimmed();
    if (isPlaceholder(text))
        text = fallback;
    label->setProperty("trendTextKey", key);
    label->setProperty("trendText", text);
    return text;
}

void TrendReading::record(const ModbusExchange::Request& request, const QList<quint16>& values) {
    if (!m_store.startedAt().isValid())
        startRun();
    const QString decimalSeparator = RegionalFormats::system().decimalSeparator;
    QList<TrendStore::Reading> readings;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const AutoValueControls* row = autoValueRowAt(m_rows, request.start + qint32(i));
        if (!row)
            continue;
        const PolledValue* polled = m_model.polledByTag(row->tag);
        const auto value = polled ? ScaledNumberOf(*polled, values.at(i), decimalSeparator) : std::nullopt;
        if (!value)
            continue; // not shown either
        readings.append({request.page, row->address, *value, textOf(row->caption, row->tag),
                         textOf(row->unit, QString())});
    }
    if (!readings.isEmpty())
        m_store.record(MonotonicMs(), readings);
}

void TrendReading::showWindow() {
    if (!m_window)
        return;
    m_window->setWindowTitle(controlCaption(m_controls.open));
    // Opened the first time on the console's screen and no larger than it: a small laptop
    // screen would otherwise cut off its lower part with the chart's axis.
    if (!m_window->isVisible()) {
        if (const QScreen* screen = m_controls.console->screen()) {
            const QRect placed = PlacementOnScreen(m_window->size(), screen->availableGeometry());
            m_window->resize(placed.size().expandedTo(m_window->minimumSizeHint()));
            m_window->move(placed.topLeft());
        }
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TrendReading::exportCsv() {
    if (m_store.size() == 0) {
        showMessage(m_language.translate("TrendReading",
                                         "Nothing to export yet: no value has been read automatically."));
        return;
    }
    const QString suggested = suggestedCsvPath(m_store);
    const QString path =
        m_choosePath ? m_choosePath(suggested)
                     : QFileDialog::getSaveFileName(m_window, controlCaption(m_window->btn_TrendExport),
                                                    suggested, QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // Written whole or not at all: an existing file is replaced only by a complete export.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !WriteTrendCsv(m_store, file, m_language) || !file.commit()) {
        showErrorMessage(m_language.translate("TrendReading", "Could not write %1: %2")
                             .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    QString done =
        m_language.translate("TrendReading", "Exported to %1.").arg(QDir::toNativeSeparators(path));
    if (m_store.dropped() > 0) {
        const int dropped = int(qMin<quint64>(m_store.dropped(), std::numeric_limits<int>::max()));
        done += m_language.translate("TrendReading",
                                     " The oldest %n values no longer fitted in memory and are not in it.",
                                     nullptr, dropped);
    }
    showMessage(done);
}
