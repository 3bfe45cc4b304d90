#include "console/Commissioning.h"

#include "ui/MessageBoxes.h"

#include <QProgressBar>
#include <QPushButton>

// Writing a snapshot back: the device is read first, so only what really differs is written,
// and nothing is written before the user has confirmed the list. Each value written is read
// back and compared.
void Commissioning::writeSnapshot() {
    if (!readyToCompare())
        return;
    readRows(rowsOfPage(), [this](QList<ParameterRow> silent) {
        if (m_sequence.cancelled())
            return reportSilent(silent);
        const QList<SnapshotDifference> diffs = differences(m_rows, silent);
        if (diffs.isEmpty()) {
            reportDifferences(m_rows, diffs, silent);
            return;
        }
        // What the person confirms reads as the fields show it. A row that did not answer is
        // not known to differ, so it is not written, and the list says so.
        QStringList lines;
        for (const SnapshotDifference& d : diffs)
            lines << tr("%1  %2: %3 -> %4")
                         .arg(QString::number(m_rows[d.row].address), captionOf(m_rows[d.row]),
                              asShown(m_rows[d.row], d.deviceValue), asShown(m_rows[d.row], d.snapshotValue));
        QString question = tr("These %n parameter(s) will be written to the device:\n", nullptr,
                              static_cast<int>(diffs.size())) +
                           listOf(lines);
        if (!silent.isEmpty())
            question +=
                QStringLiteral("\n") +
                silentSection(silent, tr("%n parameter(s) did not answer and will not be written:", nullptr,
                                         static_cast<int>(silent.size())));
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
    const QString line =
        tr("%1  %2: %3").arg(QString::number(row.address), captionOf(row), asShown(row, d.snapshotValue));
    m_controls.progress->setRange(0, static_cast<int>(m_restore.size()));
    m_controls.progress->setValue(static_cast<int>(m_restoreAt - 1));
    if (!showInField(row.value, d.snapshotValue)) {
        m_failed << line;
        mark(row, Mark::Failed,
             QT_TRANSLATE_NOOP("Commissioning", "The field cannot take the snapshot's value"));
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
            const auto value = deviceValueOfField(row.value);
            if (readBack == Outcome::Answered && value && SameDeviceValue(*value, d.snapshotValue)) {
                m_verified << line;
                mark(row, Mark::None);
            } else if (readBack == Outcome::Answered) {
                const QString shown = asShown(row, value.value_or(QString()));
                m_failed << line + tr(" (%1)").arg(tr("read back %1").arg(shown));
                mark(row, Mark::Failed, QT_TRANSLATE_NOOP("Commissioning", "read back %1"), {shown});
            } else {
                m_failed << line + tr(" (%1)").arg(tr("no reply when read back"));
                mark(row, Mark::Failed, QT_TRANSLATE_NOOP("Commissioning", "no reply when read back"));
            }
            restoreNext();
        });
    });
}

void Commissioning::finishRestore() {
    const bool cancelled = m_restoreAt > m_restore.size() ||
                           m_written.size() + m_unacknowledged.size() > m_verified.size() + m_failed.size();
    m_controls.progress->setValue(m_controls.progress->maximum());
    m_restore.clear();
    m_restoreRows.clear();
    setBusy(false);
    auto section = [this](const QString& title, const QStringList& lines) {
        return title.arg(lines.size()) + (lines.isEmpty() ? QString() : QStringLiteral("\n") + listOf(lines));
    };
    QString text = section(tr("Written: %1"), m_written) + QStringLiteral("\n") +
                   section(tr("Verified: %1"), m_verified) + QStringLiteral("\n") +
                   section(tr("Failed: %1"), m_failed);
    if (!m_unacknowledged.isEmpty())
        text += QStringLiteral("\n") + section(tr("No answer to the write: %1"), m_unacknowledged);
    if (!m_notWritten.isEmpty())
        text +=
            QStringLiteral("\n") +
            silentSection(m_notWritten, tr("%n parameter(s) did not answer and were not written:", nullptr,
                                           static_cast<int>(m_notWritten.size())));
    m_notWritten.clear();
    if (cancelled)
        text = tr("Writing was cancelled.\n") + text;
    showMessage(text);
}
