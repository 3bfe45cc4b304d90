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
        // What the person confirms reads as the fields show it. A row that did not answer is
        // not known to differ, so it is not written, and the list says so.
        const ParameterModel model = parameterModel();
        QStringList lines;
        for (const SnapshotDifference& d : diffs)
            lines << tr2("%1  %2：%3 → %4", "%1  %2: %3 -> %4")
                         .arg(QString::number(m_rows[d.row].address), captionOf(m_rows[d.row]),
                              asShown(model, m_rows[d.row], d.deviceValue),
                              asShown(model, m_rows[d.row], d.snapshotValue));
        QString question =
            tr2("将把以下 %1 个参数写入设备：\n", "These %1 parameters will be written to the device:\n")
                .arg(diffs.size()) +
            listOf(lines);
        if (!silent.isEmpty())
            question += QStringLiteral("\n") +
                        silentSection(silent, tr2("%1 个参数没有应答，不会写入：",
                                                  "%1 parameters did not answer and will not be written:"));
        if (!askConfirmation(question))
            return;
        m_notWritten = silent;
        m_restore = diffs;
        m_restoreRows = m_rows;
        m_restoreAt = 0;
        m_written.clear();
        m_unacknowledged.clear();
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
    const ParameterModel model = parameterModel();
    const QString line =
        tr2("%1  %2：%3", "%1  %2: %3")
            .arg(QString::number(row.address), captionOf(row), asShown(model, row, d.snapshotValue));
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
        // Written means the device acknowledged it; the read-back still decides verified or failed.
        if (written == Outcome::Answered)
            m_written << line;
        else
            m_unacknowledged << line;
        readRow(row, [this, row, d, line](Outcome readBack) {
            if (readBack == Outcome::Cancelled)
                return finishRestore();
            const auto value = deviceValueOf(m_form, row.value);
            if (readBack == Outcome::Answered && value && SameDeviceValue(*value, d.snapshotValue)) {
                m_verified << line;
                mark(row, Mark::None);
            } else {
                const QString why = readBack == Outcome::Answered
                                        ? tr2("读回的值为 %1", "read back %1")
                                              .arg(asShown(parameterModel(), row, value.value_or(QString())))
                                        : tr2("读回时设备没有应答", "no reply when read back");
                m_failed << line + tr2("（%1）", " (%1)").arg(why);
                mark(row, Mark::Failed, why);
            }
            restoreNext();
        });
    });
}

void Commissioning::finishRestore() {
    const bool cancelled = m_restoreAt > m_restore.size() ||
                           m_written.size() + m_unacknowledged.size() > m_verified.size() + m_failed.size();
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
    if (!m_unacknowledged.isEmpty())
        text += QStringLiteral("\n") +
                section(tr2("写入没有应答 %1 个：", "No answer to the write: %1"), m_unacknowledged);
    if (!m_notWritten.isEmpty())
        text += QStringLiteral("\n") +
                silentSection(m_notWritten, tr2("%1 个参数没有应答，未写入：",
                                                "%1 parameters did not answer and were not written:"));
    m_notWritten.clear();
    if (cancelled)
        text = tr2("写入已取消。\n", "Writing was cancelled.\n") + text;
    showMessage(text);
}
