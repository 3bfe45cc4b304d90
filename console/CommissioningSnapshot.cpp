#include "console/Commissioning.h"

#include "console/RowValues.h"
#include "console/protocol/SnapshotMatch.h"
#include "device/ParameterText.h"
#include "device/SnapshotCheck.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"

#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <algorithm>

namespace {

// A snapshot of a few hundred parameters is a few kilobytes; anything this large is no
// snapshot and is not read into memory.
constexpr qint64 kMaxSnapshotBytes = 16 * 1024 * 1024;
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QList<RowKey> keysOf(const QList<ParameterRow>& rows) {
    QList<RowKey> keys;
    for (const ParameterRow& row : rows)
        keys << RowKey{row.tag, row.address};
    return keys;
}

} // namespace

namespace {

// The model's parameter a row of the pages shows, when tag and address agree.
const Parameter* parameterOf(const ParameterModel& model, const ParameterRow& row) {
    const Parameter* p = model.byTag(row.tag);
    return p && p->address == row.address ? p : nullptr;
}

} // namespace

QString Commissioning::asShown(const ParameterRow& row, const QString& deviceValue) const {
    const Parameter* p = parameterOf(m_parameters, row);
    return p ? ValueAsShown(*p, deviceValue, m_language.code()) : deviceValue;
}

SnapshotRow Commissioning::snapshotRowOf(const ParameterRow& row) const {
    SnapshotRow s;
    s.page = pageNameOf(row);
    s.tag = row.tag;
    s.address = QString::number(row.address);
    if (const Parameter* p = parameterOf(m_parameters, row)) {
        s.captionCN = SnapshotCaption(*p, QStringLiteral("CN"));
        s.captionEN = SnapshotCaption(*p, QStringLiteral("EN"));
    }
    s.deviceValue = deviceValueOfField(row.value).value_or(QString());
    s.shownText = rowShownText(row.value);
    if (m_readTime.contains(row.value))
        s.timeRead = m_readTime.value(row.value).toString(kTimeFormat);
    return s;
}

void Commissioning::saveSnapshot() {
    if (m_busy)
        return;
    const QString suggested =
        m_folder() + QStringLiteral("snapshot-%1.csv")
                         .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Save, tr("Save snapshot"),
                                                       suggested, tr("Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    QList<SnapshotRow> rows;
    for (const ParameterRow& row : rowsOfPage())
        rows << snapshotRowOf(row);
    // Written whole or not at all: a failed save leaves the file that was there as it was.
    if (const QString error = WriteSnapshotFile(path, rows, m_language); !error.isEmpty()) {
        showMessage(tr("The snapshot was not saved: %1\n%2").arg(path, error));
        return;
    }
    m_snapshot = rows;
    showMessage(tr("%n parameter(s) saved to %1", nullptr, static_cast<int>(rows.size())).arg(path));
}

void Commissioning::loadSnapshot() {
    if (m_busy)
        return;
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Open, tr("Load snapshot"),
                                                       m_folder(), tr("Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSnapshotBytes) {
        showMessage(tr("The snapshot cannot be read: %1\n%2")
                        .arg(path, file.isOpen() ? tr("the file is too large") : file.errorString()));
        return;
    }
    const Language language = m_language;
    const SnapshotParse parsed = SnapshotFromCsv(file.readAll());
    if (!parsed.ok()) {
        showMessage(tr("%1 is no snapshot file: %2; nothing was changed")
                        .arg(path, SnapshotFaultText(parsed, language)));
        return;
    }
    // Every row is checked against its parameter before any field is filled; the snapshot
    // kept for Compare and Write snapshot holds only the rows that passed, with their values
    // as a Write sends them, so a refused cell can never reach the device.
    const QList<ParameterRow> rows = rowsOfPage();
    QList<const Parameter*> parameters;
    Parameter unknown; // a row the model lacks takes nothing
    unknown.kind = Parameter::Kind::Separator;
    for (const ParameterRow& row : rows) {
        const Parameter* p = parameterOf(m_parameters, row);
        parameters << (p ? p : &unknown);
    }
    SnapshotLoadPlan plan = PlanSnapshotLoad(parameters, parsed, language);
    clearMarks();
    QList<SnapshotRow> kept;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (!plan.values[r])
            continue;
        if (!showInField(rows[r].value, *plan.values[r])) {
            plan.values[r].reset();
            continue;
        }
        SnapshotRow s;
        s.tag = rows[r].tag;
        s.address = QString::number(rows[r].address);
        s.deviceValue = *plan.values[r];
        kept << s;
    }
    m_snapshot = kept;
    showMessage(SnapshotLoadText(plan, language));
}

QList<SnapshotDifference> Commissioning::differences(const QList<ParameterRow>& rows,
                                                     const QList<ParameterRow>& silent) const {
    QList<std::optional<QString>> values;
    for (const ParameterRow& row : rows) {
        const bool answered = std::none_of(silent.begin(), silent.end(),
                                           [&](const ParameterRow& s) { return s.value == row.value; });
        values << (answered ? deviceValueOfField(row.value) : std::nullopt);
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
    readRows(rowsOfPage(), [this](QList<ParameterRow> silent) {
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
        const QString snapshot = asShown(row, d.snapshotValue), device = asShown(row, d.deviceValue);
        mark(row, Mark::Differs, QT_TRANSLATE_NOOP("Commissioning", "snapshot: %1, device: %2"),
             {snapshot, device});
        lines << tr("%1  %2: snapshot %3, device %4")
                     .arg(QString::number(row.address), captionOf(row), snapshot, device);
    }
    QString text;
    if (!diffs.isEmpty())
        text = tr("%n parameter(s) differ from the snapshot:\n", nullptr, static_cast<int>(diffs.size())) +
               listOf(lines);
    else if (silent.isEmpty())
        text = tr("The device matches the snapshot");
    else
        text = tr("The parameters that answered match the snapshot");
    if (!silent.isEmpty())
        text += QStringLiteral("\n") +
                silentSection(silent, tr("%n parameter(s) did not answer and were not compared:", nullptr,
                                         static_cast<int>(silent.size())));
    showMessage(text);
}
