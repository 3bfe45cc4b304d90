#include "console/Commissioning.h"

#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"
#include "device/DeviceSession.h"
#include "ui/MessageBoxes.h"
#include "ui/ShowingErrors.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

namespace {

// The longest list of names a message shows; the rest is counted.
constexpr qsizetype kListedRows = 20;

} // namespace

bool Commissioning::portOpen() {
    if (m_device.isOpen())
        return true;
    showMessage(tr("The port is not open; connect first"));
    return false;
}

int Commissioning::readTimeoutMs() const {
    return m_parameters.readTimeoutMs();
}

Commissioning::Outcome Commissioning::outcomeOf(const DeviceResult& result) {
    switch (result.status) {
    case DeviceResult::Status::Answered:
        return Outcome::Answered;
    case DeviceResult::Status::Cancelled:
        return Outcome::Cancelled;
    default:
        return Outcome::Silent;
    }
}

// The reply goes into the row's field through the same rule as an operator's Read: the first
// reply line the field can show. A reply that comes after the time-out never reaches the
// next row: the engine drops it.
void Commissioning::readRow(const ParameterRow& row, Then then) {
    DeviceRequest request;
    request.bytes = LineToBytes(ReadCommand(row.address));
    request.timeoutMs = readTimeoutMs();
    request.owner = this;
    QPointer<QWidget> field = row.value;
    request.accepts = [this, field](const QByteArray& line) {
        try {
            return field && showInField(field, ReplyLineValue(line));
        } catch (const std::exception&) {
            return false;
        }
    };
    m_device.request(request, [this, field, then = std::move(then)](const DeviceResult& result) {
        if (result.answered() && field)
            onReplyApplied(field);
        runShowingErrors([&] { then(outcomeOf(result)); });
    });
}

void Commissioning::writeRow(const ParameterRow& row, Then then) {
    // The field was just filled from a value the device takes, so it gives one; an empty
    // write is still never sent.
    const std::optional<QString> converted = deviceValueOfField(row.value);
    if (!converted) {
        then(Outcome::Silent);
        return;
    }
    const QString value = *converted;
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::AnyLine;
    request.bytes = LineToBytes(WriteCommand(row.address, value));
    request.timeoutMs = readTimeoutMs();
    request.owner = this;
    onWriteSent(row.value, row.address, value);
    m_device.request(request, [this, then = std::move(then)](const DeviceResult& result) {
        if (result.status == DeviceResult::Status::NotSent)
            onWriteAnswered(std::nullopt);
        else
            onWriteAnswered(result.answered() ? BlockAsText(result.line).trimmed() : QString());
        runShowingErrors([&] { then(outcomeOf(result)); });
    });
}

void Commissioning::onReplyApplied(QWidget* field) {
    if (const auto value = deviceValueOfField(field)) {
        m_lastRead.insert(field, *value);
        m_readTime.insert(field, QDateTime::currentDateTime());
    }
}

void Commissioning::readRows(const QList<ParameterRow>& rows, std::function<void(QList<ParameterRow>)> done) {
    m_rows = rows;
    m_readDone = std::move(done);
    m_sequence.start(rows.size());
    clearMarks();
    m_controls.progress->setRange(0, static_cast<int>(std::max<qsizetype>(1, rows.size())));
    m_controls.progress->setValue(0);
    m_controls.progress->setFormat(QStringLiteral("%v/%m"));
    setBusy(true);
    readNext();
}

void Commissioning::readNext() {
    m_controls.progress->setValue(static_cast<int>(m_sequence.finished()));
    if (!m_sequence.running()) {
        QList<ParameterRow> silent;
        for (qsizetype i : m_sequence.silent())
            silent << m_rows[i];
        for (const ParameterRow& row : silent)
            mark(row, Mark::Silent, QT_TRANSLATE_NOOP("Commissioning", "The device did not answer the read"));
        setBusy(false);
        auto done = std::move(m_readDone);
        m_readDone = nullptr;
        if (done)
            done(m_sequence.cancelled() ? QList<ParameterRow>() : silent);
        return;
    }
    const ParameterRow row = m_rows[m_sequence.current()];
    readRow(row, [this](Outcome outcome) {
        if (outcome == Outcome::Answered)
            m_sequence.answered();
        else if (outcome == Outcome::Silent)
            m_sequence.timedOut();
        readNext();
    });
}

void Commissioning::cancel() {
    if (!m_busy)
        return;
    m_sequence.cancel();
    m_restoreAt = m_restore.size() + 1; // no further writes
    m_device.cancel(this);
}

namespace {

QString rowLine(const ParameterRow& row, const QString& caption) {
    return QStringLiteral("%1  %2").arg(row.address).arg(caption);
}

} // namespace

void Commissioning::readPage() {
    if (m_busy || !m_controls.pages || !portOpen())
        return;
    readRows(rowsOfPage(m_controls.pages->currentIndex()),
             [this](QList<ParameterRow> silent) { reportSilent(silent); });
}

void Commissioning::readAllPages() {
    if (m_busy || !portOpen())
        return;
    readRows(rowsOfPage(), [this](QList<ParameterRow> silent) { reportSilent(silent); });
}

void Commissioning::reportSilent(const QList<ParameterRow>& silent) {
    if (m_sequence.cancelled()) {
        showMessage(tr("Reading cancelled after %1 of %2 parameters")
                        .arg(m_sequence.finished())
                        .arg(m_sequence.total()));
        return;
    }
    if (silent.isEmpty())
        return;
    showMessage(silentSection(
        silent, tr("%n parameter(s) did not answer:", nullptr, static_cast<int>(silent.size()))));
}

QString Commissioning::silentSection(const QList<ParameterRow>& silent, const QString& title) const {
    QStringList lines;
    for (const ParameterRow& row : silent)
        lines << rowLine(row, captionOf(row));
    return title + QStringLiteral("\n") + listOf(lines);
}

QString Commissioning::listOf(const QStringList& lines) const {
    QStringList shown = lines.mid(0, kListedRows);
    if (lines.size() > kListedRows)
        shown << tr("... and %n more", nullptr, static_cast<int>(lines.size() - kListedRows));
    return shown.join(QLatin1Char('\n'));
}
