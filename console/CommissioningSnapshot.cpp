#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "console/protocol/SnapshotMatch.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"

#include <QFile>
#include <QLabel>
#include <QSaveFile>
#include <QTabWidget>
#include <algorithm>

namespace {

// A snapshot of a few hundred parameters is a few kilobytes; anything this large is no
// snapshot and is not read into memory.
constexpr qint64 kMaxSnapshotBytes = 16 * 1024 * 1024;
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The language table's caption of a label in one language, or empty.
QString tableCaption(const TForm_Main& form, const QString& name, const QString& attribute) {
    if (!form.ConfigDocument)
        return {};
    try {
        const XmlNode labels = form.ConfigDocument->findRoot()
                                   .findChild(QStringLiteral("LANGUAGE"))
                                   .findChild(QStringLiteral("COMPONETS"))
                                   .findChild(QStringLiteral("LABEL"));
        for (int i = 0; !labels.isNull() && i < labels.childCount(); ++i) {
            const XmlNode entry = labels.child(i);
            if (entry.hasAttribute(QStringLiteral("name")) &&
                entry.readAttribute(QStringLiteral("name")) == name)
                return entry.hasAttribute(attribute) ? entry.readAttribute(attribute) : QString();
        }
    } catch (const std::exception&) {
    }
    return {};
}

// A snapshot row's caption in the language shown, or the other one when it has none.
QString shownCaption(const SnapshotRow& row, Language language) {
    const QString& first = language.isEnglish() ? row.captionEN : row.captionCN;
    return first.isEmpty() ? (language.isEnglish() ? row.captionCN : row.captionEN) : first;
}

QList<RowKey> keysOf(const QList<ParameterRow>& rows) {
    QList<RowKey> keys;
    for (const ParameterRow& row : rows)
        keys << RowKey{row.tag, row.address};
    return keys;
}

} // namespace

SnapshotRow Commissioning::snapshotRowOf(const ParameterRow& row) const {
    SnapshotRow s;
    s.page = m_form.pg_DYNC->tabText(m_form.pg_DYNC->indexOf(m_form.DyncSheets[row.page]));
    s.tag = row.tag;
    s.address = QString::number(row.address);
    const QString label = QStringLiteral("lbl_") + row.tag;
    s.captionCN = tableCaption(m_form, label, QStringLiteral("captionCN"));
    s.captionEN = tableCaption(m_form, label, QStringLiteral("captionEN"));
    const bool english = m_form.language().isEnglish();
    if (s.captionCN.isEmpty() && !english)
        s.captionCN = captionOf(row);
    if (s.captionEN.isEmpty() && english)
        s.captionEN = captionOf(row);
    s.deviceValue = deviceValueOf(m_form, row.value).value_or(QString());
    s.shownText = shownTextOf(row.value);
    if (m_readTime.contains(row.value))
        s.timeRead = m_readTime.value(row.value).toString(kTimeFormat);
    return s;
}

void Commissioning::saveSnapshot() {
    if (m_busy)
        return;
    const QString suggested =
        m_form.AppDir + QStringLiteral("snapshot-%1.csv")
                            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Save, tr("Save snapshot"),
                                                       suggested, tr("Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    QList<SnapshotRow> rows;
    for (const ParameterRow& row : parameterRows(m_form))
        rows << snapshotRowOf(row);
    // Written whole or not at all: a failed save never leaves a cut-off file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(SnapshotToCsv(rows)) < 0 || !file.commit()) {
        showMessage(tr("The snapshot was not saved: %1\n%2").arg(path, file.errorString()));
        return;
    }
    m_snapshot = rows;
    showMessage(tr("%n parameter(s) saved to %1", nullptr, static_cast<int>(rows.size())).arg(path));
}

void Commissioning::loadSnapshot() {
    if (m_busy)
        return;
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Open, tr("Load snapshot"),
                                                       m_form.AppDir, tr("Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSnapshotBytes) {
        showMessage(tr("The snapshot cannot be read: %1\n%2")
                        .arg(path, file.isOpen() ? tr("the file is too large") : file.errorString()));
        return;
    }
    const SnapshotParse parsed = SnapshotFromCsv(file.readAll());
    if (!parsed.ok()) {
        showMessage(tr("%1 is no snapshot file (line %2); nothing was changed").arg(path).arg(parsed.line));
        return;
    }
    const QList<ParameterRow> rows = parameterRows(m_form);
    const SnapshotPlacement placement = PlaceSnapshot(keysOf(rows), parsed.rows);
    clearMarks();
    qsizetype filled = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const qsizetype s = placement.snapshotOfRow[r];
        if (s >= 0 && !parsed.rows[s].deviceValue.isEmpty() &&
            showDeviceValue(m_form, rows[r].value, parsed.rows[s].deviceValue))
            ++filled;
    }
    m_snapshot = parsed.rows;
    QString text = tr("%n parameter(s) loaded", nullptr, static_cast<int>(filled));
    if (!placement.unplaced.isEmpty()) {
        QStringList lines;
        for (qsizetype s : placement.unplaced)
            lines << QStringLiteral("%1  %2  %3")
                         .arg(parsed.rows[s].address, parsed.rows[s].tag,
                              shownCaption(parsed.rows[s], m_form.language()));
        text += tr("; %n row(s) match no parameter (address and tag):\n", nullptr,
                   static_cast<int>(placement.unplaced.size())) +
                listOf(lines);
    }
    showMessage(text);
}

QList<SnapshotDifference> Commissioning::differences(const QList<ParameterRow>& rows,
                                                     const QList<ParameterRow>& silent) const {
    QList<std::optional<QString>> values;
    for (const ParameterRow& row : rows) {
        const bool answered = std::none_of(silent.begin(), silent.end(),
                                           [&](const ParameterRow& s) { return s.value == row.value; });
        values << (answered ? deviceValueOf(m_form, row.value) : std::nullopt);
    }
    return SnapshotDifferences(PlaceSnapshot(keysOf(rows), m_snapshot), m_snapshot, values);
}

// Comparing needs an idle run, a snapshot to compare with and an open port; says which is missing.
bool Commissioning::readyToCompare() {
    if (m_busy)
        return false;
    if (m_snapshot.isEmpty()) {
        showMessage(tr("Load or save a snapshot first"));
        return false;
    }
    return portOpen();
}

void Commissioning::compareWithDevice() {
    if (!readyToCompare())
        return;
    readRows(parameterRows(m_form), [this](QList<ParameterRow> silent) {
        if (m_sequence.cancelled())
            return reportSilent(silent);
        reportDifferences(m_rows, differences(m_rows, silent), silent);
    });
}

void Commissioning::reportDifferences(const QList<ParameterRow>& rows, const QList<SnapshotDifference>& diffs,
                                      const QList<ParameterRow>& silent) {
    QStringList lines;
    for (const SnapshotDifference& d : diffs) {
        const ParameterRow& row = rows[d.row];
        mark(row, Mark::Differs, QT_TRANSLATE_NOOP("Commissioning", "snapshot: %1, device: %2"),
             {d.snapshotValue, d.deviceValue});
        lines << tr("%1  %2: snapshot %3, device %4")
                     .arg(QString::number(row.address), captionOf(row), d.snapshotValue, d.deviceValue);
    }
    QString text = diffs.isEmpty() ? tr("The device matches the snapshot")
                                   : tr("%n parameter(s) differ from the snapshot:\n", nullptr,
                                        static_cast<int>(diffs.size())) +
                                         listOf(lines);
    if (!silent.isEmpty())
        text += tr("\n%n parameter(s) did not answer and were not compared", nullptr,
                   static_cast<int>(silent.size()));
    showMessage(text);
}
