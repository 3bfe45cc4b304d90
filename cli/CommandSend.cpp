#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "config/AppError.h"
#include "console/protocol/BatchSteps.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/ReceivedBlock.h"

namespace {

// Prints every line the device sends while it lives, each as soon as it is complete, as the
// receive box shows bytes (one character per byte).
class ReplyPrinter {
public:
    explicit ReplyPrinter(DeviceSession& session) {
        m_connection = QObject::connect(&session, &DeviceSession::received, [this](const QByteArray& block) {
            m_lastMs = MonotonicMs();
            m_any = true;
            m_pending += block;
            flush(false);
        });
    }
    ~ReplyPrinter() {
        QObject::disconnect(m_connection);
        flush(true);
    }
    void flush(bool all) {
        for (;;) {
            qsizetype end = -1;
            for (qsizetype i = 0; i < m_pending.size() && end < 0; ++i)
                if (m_pending[i] == '\r' || m_pending[i] == '\n')
                    end = i;
            if (end < 0)
                break;
            print(m_pending.left(end));
            m_pending.remove(0, end + 1);
        }
        if (all && !m_pending.isEmpty()) {
            print(m_pending);
            m_pending.clear();
        }
    }
    bool any() const { return m_any; }
    qint64 lastMs() const { return m_lastMs; }

private:
    void print(const QByteArray& line) {
        if (!line.trimmed().isEmpty())
            PrintOut(BlockAsText(line) + QLatin1Char('\n'));
    }
    QMetaObject::Connection m_connection;
    QByteArray m_pending;
    bool m_any = false;
    qint64 m_lastMs = 0;
};

bool sendable(const CliConfig& config, const QString& text) {
    const auto bad = FirstUnsendableCharacter(text);
    if (bad)
        PrintError(UnsendableCharacterMessage(*bad, config.language()));
    return !bad;
}

bool send(DeviceLink& link, const QString& text) {
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    request.bytes = LineToBytes(text);
    return link.exchange(request).answered();
}

// Waits while replies keep coming: until the read time-out has passed without a byte, and
// never longer than ten of them in all.
void awaitQuiet(DeviceLink& link, const ReplyPrinter& printer, qint64 sentMs, int timeoutMs) {
    const qint64 limit = sentMs + 10LL * timeoutMs;
    link.waitUntil(
        [&] {
            const qint64 now = MonotonicMs();
            return now >= limit || now - std::max(sentMs, printer.lastMs()) >= timeoutMs;
        },
        10LL * timeoutMs + 100);
}

} // namespace

int RunSend(const CliOptions& options, const CliConfig& config) {
    const QString text = options.argument + QStringLiteral("\r\n");
    if (!sendable(config, options.argument))
        return cliexit::kUsage;
    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    ReplyPrinter printer(link.session());
    const qint64 sentMs = MonotonicMs();
    if (!send(link, text)) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "the port took nothing")));
        return cliexit::kDeviceProblem;
    }
    awaitQuiet(link, printer, sentMs, config.model.readTimeoutMs());
    if (!printer.any()) {
        PrintError(
            config.text(QT_TRANSLATE_NOOP("Cli", "no reply within %1 ms")).arg(config.model.readTimeoutMs()));
        return cliexit::kDeviceProblem;
    }
    return cliexit::kDone;
}

int RunBatch(const CliOptions& options, const CliConfig& config) {
    int index = FindBatch(config.batches, options.argument);
    for (int i = 0; index < 0 && i < config.batches.size(); ++i)
        if (config.batches[i].caption.compare(options.argument, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0) {
        QStringList names;
        for (const TCMDS& b : config.batches)
            names << b.caption;
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "there is no batch named \"%1\"; there are: %2"))
                       .arg(options.argument, names.join(QStringLiteral(", "))));
        return cliexit::kUsage;
    }
    const TCMDS& batch = config.batches[index];
    QList<BatchStep> steps;
    try {
        for (qsizetype i = 0; i < BatchStepCount(batch); ++i)
            steps << BatchStepAt(batch, i);
    } catch (const AppError& e) {
        PrintError(e.text());
        return cliexit::kUsage;
    }
    // Nobody is there to confirm; sending such a step unconfirmed could do what the batch's
    // author wanted a person to decide, so the whole batch is refused before anything is sent.
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (steps[i].confirm) {
            PrintError(
                config
                    .text(QT_TRANSLATE_NOOP(
                        "Cli",
                        "batch \"%1\" step %2 (%3) waits for a person to confirm it; run it from the window"))
                    .arg(batch.caption)
                    .arg(i + 1)
                    .arg(steps[i].text));
            return cliexit::kUsage;
        }
        if (!sendable(config, steps[i].text))
            return cliexit::kUsage;
    }
    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    ReplyPrinter printer(link.session());
    qint64 sentMs = 0;
    for (const BatchStep& step : std::as_const(steps)) {
        sentMs = MonotonicMs();
        if (!send(link, step.text)) {
            PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "the port took nothing")));
            return cliexit::kDeviceProblem;
        }
        link.pause(step.pauseMs);
    }
    // The last step's reply may still be on its way when its pause is short.
    awaitQuiet(link, printer, sentMs, config.model.readTimeoutMs());
    return cliexit::kDone;
}
