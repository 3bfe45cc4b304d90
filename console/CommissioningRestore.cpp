#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "ui/MessageBoxes.h"

#include <QProgressBar>
#include <QPushButton>

// Writing a snapshot back: the device is read first, so only what really differs is written,
// and nothing is written before the user has confirmed the list. Each value written is read
// back and compared.
void Commissioning::writeSnapshot() {
    if (!readyToCompare())
        return;
    readRows(parameterRows(m_form), [this](QList<ParameterRow> silent) {
        if (m_sequence.cancelled())
            return reportSilent(silent);
        const QList<SnapshotDifference> diffs = differences(m_rows, silent);
        if (diffs.isEmpty()) {
            reportDifferences(m_rows, diffs, silent);
            return;
        }
        QStringList lines;
        for (const SnapshotDifference& d : diffs)
            lines << tr2("%1  %2：%3 → %4", "%1  %2: %3 -> %4")
                         .arg(QString::number(m_rows[d.row].address), captionOf(m_rows[d.row]), d.deviceValue,
                              d.snapshotValue);
        if (!askConfirmation(tr2("将把以下 %1 个参数写入设备：\n", "These %1 parameters will be written to the device:\n")
                                 .arg(diffs.size()) +
                             listOf(lines)))
            return;
        m_restore = diffs;
        m_restoreRows = m_rows;
        m_restoreAt = 0;
        m_written.clear();
        m_verified.clear();
        m_failed.clear();
        setBusy(true);
        restoreNext();
    });
}

void Commissioning::restoreNext() {
    if (m_restoreAt >= m_restore.size() || m_restore.isEmpty()) {
        finishRestore();
        return;
    }
    restoreOne(m_restore[m_restoreAt++]);
}

void Commissioning::restoreOne(const SnapshotDifference& d) {
    const ParameterRow row = m_restoreRows[d.row];
    const QString line = QStringLiteral("%1  %2").arg(QString::number(row.address), captionOf(row));
    prg_Read->setRange(0, static_cast<int>(m_restore.size()));
    prg_Read->setValue(static_cast<int>(m_restoreAt - 1));
    if (!showDeviceValue(m_form, row.value, d.snapshotValue)) {
        m_failed << line;
        mark(row, Mark::Failed, tr2("快照值无法填入此字段", "The field cannot take the snapshot's value"));
        restoreNext();
        return;
    }
    // The write's answer (or its time-out) comes before the read-back, so an answer to the
    // write is never taken for the value read back.
    writeRow(row, [this, row, d, line](Outcome written) {
        if (written == Outcome::Cancelled)
            return finishRestore();
        m_written << line;
        readRow(row, [this, row, d, line](Outcome readBack) {
            if (readBack == Outcome::Cancelled)
                return finishRestore();
            const auto value = deviceValueOf(m_form, row.value);
            if (readBack == Outcome::Answered && value && SameDeviceValue(*value, d.snapshotValue)) {
                m_verified << line;
                mark(row, Mark::None);
            } else {
                m_failed << line;
                mark(row, Mark::Failed,
                     readBack == Outcome::Answered
                         ? tr2("读回的值为 %1", "read back %1").arg(value.value_or(QString()))
                         : tr2("读回时设备没有应答", "no reply when read back"));
            }
            restoreNext();
        });
    });
}

void Commissioning::finishRestore() {
    const bool cancelled = m_restoreAt > m_restore.size() || m_written.size() > m_verified.size() + m_failed.size();
    prg_Read->setValue(prg_Read->maximum());
    m_restore.clear();
    m_restoreRows.clear();
    setBusy(false);
    auto section = [this](const QString& title, const QStringList& lines) {
        return title.arg(lines.size()) + (lines.isEmpty() ? QString() : QStringLiteral("\n") + listOf(lines));
    };
    QString text = section(tr2("已写入 %1 个：", "Written: %1"), m_written) + QStringLiteral("\n") +
                   section(tr2("已校验 %1 个：", "Verified: %1"), m_verified) + QStringLiteral("\n") +
                   section(tr2("失败 %1 个：", "Failed: %1"), m_failed);
    if (cancelled)
        text = tr2("写入已取消。\n", "Writing was cancelled.\n") + text;
    showMessage(text);
}
