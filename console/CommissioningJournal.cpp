#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "console/protocol/ReceivedBlock.h"
#include "console/protocol/WriteJournal.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <algorithm>

// Writes are journalled once the device has answered them: each line received goes to the
// oldest write still waiting, as the device answers in order; a write that gets no line
// within the read time-out is journalled without an answer.
void Commissioning::onWriteSent(QWidget* field, qint32 addr, const QString& value) {
    // With the port closed nothing went out, so there is nothing to record.
    if (!m_form.Comm1 || m_form.Comm1->Handle() == 0)
        return;
    PendingWrite pending;
    pending.entry.time = QDateTime::currentDateTime();
    pending.entry.port = m_form.cbb_Port->currentText();
    pending.entry.address = addr;
    if (const auto row = rowOfField(m_form, field))
        pending.entry.caption = captionOf(*row);
    pending.entry.valueBefore = m_lastRead.value(field);
    pending.entry.valueWritten = value;
    pending.deadline = QDeadlineTimer(readTimeoutMs());
    if (!m_journal || m_journal->path() != journalPath())
        m_journal = std::make_unique<WriteJournal>(journalPath());
    if (m_pendingWrites.isEmpty()) {
        m_journalLine.clear();
        m_journalTimeout.start(readTimeoutMs());
    }
    m_pendingWrites.append(pending);
}

void Commissioning::onBlock(const QByteArray& block) {
    if (!m_pendingWrites.isEmpty()) {
        m_journalLine += block;
        for (;;) {
            const qsizetype cr = m_journalLine.indexOf('\r'), lf = m_journalLine.indexOf('\n');
            const qsizetype end = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
            if (end < 0 || m_pendingWrites.isEmpty())
                break;
            const QString line = BlockAsText(m_journalLine.left(end)).trimmed();
            m_journalLine.remove(0, end + 1);
            if (!line.isEmpty())
                journalFirst(line, true);
        }
    }
    if (m_then && m_awaitingLine) {
        m_lineSeen += block;
        if (m_lineSeen.contains('\n'))
            settle(Outcome::Answered);
    }
}

void Commissioning::journalFirst(const QString& reply, bool report) {
    PendingWrite pending = m_pendingWrites.takeFirst();
    pending.entry.reply = reply;
    if (m_pendingWrites.isEmpty()) {
        m_journalTimeout.stop();
        m_journalLine.clear();
    } else {
        m_journalTimeout.start(
            static_cast<int>(std::max<qint64>(0, m_pendingWrites.first().deadline.remainingTime())));
    }
    QString error;
    if (!m_journal->append(pending.entry, &error) && report)
        showMessage(tr("The write journal could not be written: %1\n%2").arg(m_journal->path(), error));
}

void Commissioning::flushJournal(bool report) {
    while (!m_pendingWrites.isEmpty())
        journalFirst(QString(), report);
}
