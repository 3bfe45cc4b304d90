#include "console/Commissioning.h"

#include "ui/Controls.h"
#include "app/MainFrm.h"
#include "ui/MessageBoxes.h"
#include "console/protocol/SnapshotMatch.h"
#include "device/ParameterText.h"
#include "device/SnapshotCheck.h"

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

ParameterModel Commissioning::parameterModel() const {
    return m_form.ConfigDocument ? ParameterModel::fromDocument(*m_form.ConfigDocument) : ParameterModel();
}

namespace {

// The model's parameter a row of the pages shows, when tag and address agree.
const Parameter* parameterOf(const ParameterModel& model, const ParameterRow& row) {
    const Parameter* p = model.byTag(row.tag);
    return p && p->address == row.address ? p : nullptr;
}

} // namespace

QString Commissioning::asShown(const ParameterModel& model, const ParameterRow& row,
                               const QString& deviceValue) const {
    const Parameter* p = parameterOf(model, row);
    return p ? ValueAsShown(*p, deviceValue, m_form.LanguageCode) : deviceValue;
}

SnapshotRow Commissioning::snapshotRowOf(const ParameterModel& model, const ParameterRow& row) const {
    SnapshotRow s;
    s.page = m_form.pg_DYNC->tabText(m_form.pg_DYNC->indexOf(m_form.DyncSheets[row.page]));
    s.tag = row.tag;
    s.address = QString::number(row.address);
    if (const Parameter* p = parameterOf(model, row)) {
        s.captionCN = SnapshotCaption(*p, QStringLiteral("CN"));
        s.captionEN = SnapshotCaption(*p, QStringLiteral("EN"));
    }
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
        m_form.AppDir + QStringLiteral("snapshot-%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Save, tr2("保存快照", "Save snapshot"),
                                                       suggested, tr2("快照 (*.csv)", "Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    const ParameterModel model = parameterModel();
    QList<SnapshotRow> rows;
    for (const ParameterRow& row : parameterRows(m_form))
        rows << snapshotRowOf(model, row);
    // Written whole or not at all: a failed save leaves the file that was there as it was.
    if (const QString error = WriteSnapshotFile(path, rows); !error.isEmpty()) {
        showMessage(tr2("快照未保存：%1\n%2", "The snapshot was not saved: %1\n%2").arg(path, error));
        return;
    }
    m_snapshot = rows;
    showMessage(tr2("已保存 %1 个参数到 %2", "%1 parameters saved to %2").arg(rows.size()).arg(path));
}

void Commissioning::loadSnapshot() {
    if (m_busy)
        return;
    const QString path = messagePresenter().chooseFile(MessagePresenter::FileUse::Open, tr2("载入快照", "Load snapshot"),
                                                       m_form.AppDir, tr2("快照 (*.csv)", "Snapshots (*.csv)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSnapshotBytes) {
        showMessage(tr2("无法读取快照：%1\n%2", "The snapshot cannot be read: %1\n%2")
                        .arg(path, file.isOpen() ? tr2("文件太大", "the file is too large") : file.errorString()));
        return;
    }
    const bool english = m_form.LanguageCode == QLatin1String("EN");
    const SnapshotParse parsed = SnapshotFromCsv(file.readAll());
    if (!parsed.ok()) {
        showMessage(
            tr2("%1 不是快照文件：%2；未改变任何参数", "%1 is no snapshot file: %2; nothing was changed")
                .arg(path, SnapshotFaultText(parsed, english)));
        return;
    }
    // Every row is checked against its parameter before any field is filled; the snapshot
    // kept for Compare and Write snapshot holds only the rows that passed, with their values
    // as a Write sends them, so a refused cell can never reach the device.
    const ParameterModel model = parameterModel();
    const QList<ParameterRow> rows = parameterRows(m_form);
    QList<const Parameter*> parameters;
    Parameter unknown; // a row the model lacks takes nothing
    unknown.kind = Parameter::Kind::Separator;
    for (const ParameterRow& row : rows) {
        const Parameter* p = parameterOf(model, row);
        parameters << (p ? p : &unknown);
    }
    SnapshotLoadPlan plan = PlanSnapshotLoad(parameters, parsed, english);
    clearMarks();
    QList<SnapshotRow> kept;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (!plan.values[r])
            continue;
        if (!showDeviceValue(m_form, rows[r].value, *plan.values[r])) {
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
    showMessage(SnapshotLoadText(plan, english));
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
        showMessage(tr2("请先载入或保存快照", "Load or save a snapshot first"));
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
    const ParameterModel model = parameterModel();
    QStringList lines;
    for (const SnapshotDifference& d : diffs) {
        const ParameterRow& row = rows[d.row];
        const QString snapshot = asShown(model, row, d.snapshotValue),
                      device = asShown(model, row, d.deviceValue);
        mark(row, Mark::Differs, tr2("快照：%1，设备：%2", "snapshot: %1, device: %2").arg(snapshot, device));
        lines << tr2("%1  %2：快照 %3，设备 %4", "%1  %2: snapshot %3, device %4")
                     .arg(QString::number(row.address), captionOf(row), snapshot, device);
    }
    QString text;
    if (!diffs.isEmpty())
        text = tr2("%1 个参数与快照不同：\n", "%1 parameters differ from the snapshot:\n").arg(diffs.size()) +
               listOf(lines);
    else if (silent.isEmpty())
        text = tr2("设备与快照一致", "The device matches the snapshot");
    else
        text = tr2("应答的参数与快照一致", "The parameters that answered match the snapshot");
    if (!silent.isEmpty())
        text += QStringLiteral("\n") +
                silentSection(silent, tr2("%1 个参数没有应答，未比较：",
                                          "%1 parameters did not answer and were not compared:"));
    showMessage(text);
}
