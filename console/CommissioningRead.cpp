#include "console/Commissioning.h"

#include "app/MainFrm.h"
#include "ui/MessageBoxes.h"
#include "comm/SerialComm.h"

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

void Commissioning::exchange(const std::function<void()>& send, QWidget* field, Then then) {
    m_then = std::move(then);
    m_awaitedField = field;
    m_awaitingLine = field == nullptr;
    m_lineSeen.clear();
    // The send waits with the event loop running; the answer may come, or the run be
    // cancelled, before it returns.
    send();
    if (m_then)
        m_timeout.start(readTimeoutMs());
}

void Commissioning::settle(Outcome outcome) {
    m_timeout.stop();
    Then then = std::move(m_then);
    m_then = nullptr;
    m_awaitedField = nullptr;
    m_awaitingLine = false;
    if (then)
        // Outside the receive handler, so runs never nest inside it.
        QTimer::singleShot(0, this, [then, outcome] { then(outcome); });
}

void Commissioning::onReplyApplied(QWidget* field) {
    if (const auto value = deviceValueOf(m_form, field)) {
        m_lastRead.insert(field, *value);
        m_readTime.insert(field, QDateTime::currentDateTime());
    }
    if (m_then && !m_awaitingLine && field == m_awaitedField)
        settle(Outcome::Answered);
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
    exchange([this, row] { m_form.ReadButtonClick(row.read); }, row.value, [this](Outcome outcome) {
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
    settle(Outcome::Cancelled);
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
