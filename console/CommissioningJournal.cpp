#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "app/MessageBoxes.h"
#include "comm/SerialComm.h"
#include "console/protocol/ReceivedBlock.h"
#include "console/protocol/WriteJournal.h"

#include <QComboBox>

void Commissioning::onWriteSent(QWidget* field, qint32 addr, const QString& value) {
    flushJournal();
    // With the port closed nothing went out, so there is nothing to record.
    if (!m_form.Comm1 || m_form.Comm1->Handle() == 0)
        return;
    auto pending = std::make_unique<PendingWrite>();
    pending->entry.time = QDateTime::currentDateTime();
    pending->entry.port = m_form.cbb_Port->currentText();
    pending->entry.address = addr;
    if (const auto row = rowOfField(m_form, field))
        pending->entry.caption = captionOf(*row);
    pending->entry.valueBefore = m_lastRead.value(field);
    pending->entry.valueWritten = value;
    m_pendingWrite = std::move(pending);
    if (!m_journal || m_journal->path() != journalPath())
        m_journal = std::make_unique<WriteJournal>(journalPath());
    m_journalTimeout.start(readTimeoutMs());
}

void Commissioning::onBlock(const QByteArray& block) {
    if (m_pendingWrite) {
        m_pendingWrite->answer += block;
        if (m_pendingWrite->answer.contains('\n') || m_pendingWrite->answer.contains('\r'))
            flushJournal();
    }
    if (m_then && m_awaitingLine) {
        m_lineSeen += block;
        if (m_lineSeen.contains('\n'))
            settle(Outcome::Answered);
    }
}

void Commissioning::flushJournal(bool report) {
    m_journalTimeout.stop();
    if (!m_pendingWrite)
        return;
    const std::unique_ptr<PendingWrite> pending = std::move(m_pendingWrite);
    QByteArray answer = pending->answer;
    const qsizetype end = answer.indexOf('\n') >= 0 ? answer.indexOf('\n') : answer.indexOf('\r');
    if (end >= 0)
        answer.truncate(end);
    pending->entry.reply = BlockAsText(answer).trimmed();
    QString error;
    if (!m_journal->append(pending->entry, &error) && report)
        showMessage(tr2("写入记录未能保存：%1\n%2", "The write journal could not be written: %1\n%2")
                        .arg(m_journal->path(), error));
}
