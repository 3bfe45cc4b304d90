#include "console/Commissioning.h"

#include "comm/SerialComm.h"
#include "console/protocol/WriteJournal.h"
#include "device/DeviceSession.h"
#include "ui/MessageBoxes.h"

// Writes are journalled once the device has answered them. The engine answers writes in the
// order they were sent, each with the first line the device sent back, or with nothing when
// none came within the read time-out.
void Commissioning::onWriteSent(QWidget* field, qint32 address, const QString& value) {
    JournalEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.port = m_device.comm().CommName();
    entry.address = address;
    if (const auto row = rowOfField(m_parameters, m_rowControls, field))
        entry.caption = captionOf(*row);
    entry.valueBefore = m_lastRead.value(field);
    entry.valueWritten = value;
    if (!m_journal || m_journal->path() != journalPath())
        m_journal = std::make_unique<WriteJournal>(journalPath());
    m_pendingWrites.append(entry);
}

void Commissioning::onWriteAnswered(const std::optional<QString>& reply) {
    if (m_pendingWrites.isEmpty())
        return;
    // With the port closed nothing went out, so there is nothing to record.
    if (!reply) {
        m_pendingWrites.removeFirst();
        return;
    }
    journalFirst(*reply, true);
}

void Commissioning::journalFirst(const QString& reply, bool report) {
    JournalEntry entry = m_pendingWrites.takeFirst();
    entry.reply = reply;
    QString error;
    if (!m_journal->append(entry, &error) && report)
        showMessage(tr("The write journal could not be written: %1\n%2").arg(m_journal->path(), error));
}

void Commissioning::flushJournal(bool report) {
    while (!m_pendingWrites.isEmpty())
        journalFirst(QString(), report);
}
