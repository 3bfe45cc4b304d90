#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "ui/MessageBoxes.h"
#include "comm/SerialComm.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

namespace {

// The longest list of names a message shows; the rest is counted.
constexpr qsizetype kListedRows = 20;

} // namespace

bool Commissioning::portOpen() {
    if (m_form.Comm1 && m_form.Comm1->Handle() != 0)
        return true;
    showMessage(tr2("端口未打开，请先连接端口", "The port is not open; connect first"));
    return false;
}

int Commissioning::readTimeoutMs() const {
    if (!m_form.ConfigDocument)
        return kDefaultReadTimeoutMs;
    try {
        const XmlNode pages = m_form.ConfigDocument->findRoot().findChild(QStringLiteral("GROUP_DYNC"));
        if (!pages.isNull() && pages.hasAttribute(QStringLiteral("readTimeoutMs")))
            return ReadTimeoutMs(pages.readAttribute(QStringLiteral("readTimeoutMs")));
    } catch (const std::exception&) {
    }
    return kDefaultReadTimeoutMs;
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
            return field && showDeviceValue(m_form, field, ReplyLineValue(line));
        } catch (const std::exception&) {
            return false;
        }
    };
    m_form.Device->request(request, [this, field, then = std::move(then)](const DeviceResult& result) {
        if (result.answered() && field)
            onReplyApplied(field);
        m_form.guarded([&] { then(outcomeOf(result)); });
    });
}

void Commissioning::writeRow(const ParameterRow& row, Then then) {
    const QString value = writeValueOf(m_form, row.value);
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::AnyLine;
    request.bytes = LineToBytes(WriteCommand(row.address, value));
    request.timeoutMs = readTimeoutMs();
    request.owner = this;
    onWriteSent(row.value, row.address, value);
    m_form.Device->request(request, [this, then = std::move(then)](const DeviceResult& result) {
        if (result.status == DeviceResult::Status::NotSent)
            onWriteAnswered(std::nullopt);
        else
            onWriteAnswered(result.answered() ? BlockAsText(result.line).trimmed() : QString());
        m_form.guarded([&] { then(outcomeOf(result)); });
    });
}

void Commissioning::onReplyApplied(QWidget* field) {
    if (const auto value = deviceValueOf(m_form, field)) {
        m_lastRead.insert(field, *value);
        m_readTime.insert(field, QDateTime::currentDateTime());
    }
}

void Commissioning::readRows(const QList<ParameterRow>& rows, std::function<void(QList<ParameterRow>)> done) {
    m_rows = rows;
    m_readDone = std::move(done);
    m_sequence.start(rows.size());
    clearMarks();
    prg_Read->setRange(0, static_cast<int>(std::max<qsizetype>(1, rows.size())));
    prg_Read->setValue(0);
    prg_Read->setFormat(QStringLiteral("%v/%m"));
    setBusy(true);
    readNext();
}

void Commissioning::readNext() {
    prg_Read->setValue(static_cast<int>(m_sequence.finished()));
    if (!m_sequence.running()) {
        QList<ParameterRow> silent;
        for (qsizetype i : m_sequence.silent())
            silent << m_rows[i];
        for (const ParameterRow& row : silent)
            mark(row, Mark::Silent, tr2("读取时设备没有应答", "The device did not answer the read"));
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
    m_form.Device->cancel(this);
}

namespace {

QString rowLine(const ParameterRow& row, const QString& caption) {
    return QStringLiteral("%1  %2").arg(row.address).arg(caption);
}

} // namespace

void Commissioning::readPage() {
    if (m_busy || !portOpen())
        return;
    readRows(parameterRows(m_form, m_form.pg_DYNC->currentIndex()), [this](QList<ParameterRow> silent) {
        reportSilent(silent);
    });
}

void Commissioning::readAllPages() {
    if (m_busy || !portOpen())
        return;
    readRows(parameterRows(m_form), [this](QList<ParameterRow> silent) { reportSilent(silent); });
}

void Commissioning::reportSilent(const QList<ParameterRow>& silent) {
    if (m_sequence.cancelled()) {
        showMessage(tr2("读取已取消：已读 %1 / %2 个参数", "Reading cancelled after %1 of %2 parameters")
                        .arg(m_sequence.finished())
                        .arg(m_sequence.total()));
        return;
    }
    if (silent.isEmpty())
        return;
    showMessage(silentSection(silent, tr2("%1 个参数没有应答：", "%1 parameters did not answer:")));
}

QString Commissioning::silentSection(const QList<ParameterRow>& silent, const QString& title) const {
    QStringList lines;
    for (const ParameterRow& row : silent)
        lines << rowLine(row, captionOf(row));
    return title.arg(silent.size()) + QStringLiteral("\n") + listOf(lines);
}

QString Commissioning::listOf(const QStringList& lines) const {
    QStringList shown = lines.mid(0, kListedRows);
    if (lines.size() > kListedRows)
        shown << tr2("……另有 %1 个", "... and %1 more").arg(lines.size() - kListedRows);
    return shown.join(QLatin1Char('\n'));
}
