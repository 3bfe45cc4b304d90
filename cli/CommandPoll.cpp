#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/PollRows.h"
#include "console/protocol/ModbusHealthText.h"
#include "console/protocol/MonotonicClock.h"

#include <QFile>
#include <csignal>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onStopSignal(int) {
    g_stop = 1;
}

// Ctrl+C or a TERM signal end the run between requests, so the health counts are still
// printed and the output file is complete.
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

QJsonObject healthJson(const ModbusHealth& h) {
    return QJsonObject{{"sent", qint64(h.sent)},
                       {"good", qint64(h.good)},
                       {"timedOut", qint64(h.timedOut)},
                       {"dropped", qint64(h.dropped)},
                       {"wrongLength", qint64(h.wrongLength)},
                       {"badCrc", qint64(h.badCrc)},
                       {"exceptions", qint64(h.exceptions)},
                       {"unsolicited", qint64(h.unsolicited)},
                       {"lastException", h.lastException},
                       {"lastReplyMs", h.lastReplyMs},
                       {"averageReplyMs", h.averageReplyMs()}};
}

} // namespace

int RunPoll(const CliOptions& options, const CliConfig& config) {
    const PolledPage* page = config.polledPage(options.pages.value(0));
    if (!page) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "there is no automatic-reading page named \"%1\""))
                       .arg(options.pages.value(0)));
        return cliexit::kUsage;
    }
    if (page->block.pro != QLatin1String("MODBUS")) {
        PrintError(config
                       .text(QT_TRANSLATE_NOOP(
                           "Cli", "the automatic-reading page \"%1\" is not MODBUS; it is not polled"))
                       .arg(page->caption));
        return cliexit::kUsage;
    }
    if (!page->problem.isEmpty()) {
        PrintError(page->problem.simplified());
        return cliexit::kUsage;
    }
    const PollColumns columns = PollColumnsOf(config, *page);
    QFile out;
    if (!options.out.isEmpty()) {
        out.setFileName(options.out);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "cannot write %1: %2"))
                           .arg(options.out, out.errorString()));
            return cliexit::kUsage;
        }
    }
    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    catchStopSignals();

    // A file gets the byte-order mark spreadsheets need to take the captions for UTF-8.
    auto emitText = [&](const QString& text, bool toFile) {
        if (toFile)
            out.write(text.toUtf8()), out.flush();
        else
            PrintOut(text);
    };
    if (out.isOpen())
        emitText(QStringLiteral("\uFEFF") + PollCsvHeader(columns), true);
    else if (!options.json)
        emitText(PollCsvHeader(columns), false);

    DeviceRequest request;
    request.kind = DeviceRequest::Kind::Modbus;
    request.timeoutMs = static_cast<int>(ModbusExchange::kDefaultTimeoutMs);
    request.modbus = {page->index, page->block.equAddr, page->block.startAddr, page->block.readSize};

    const qint64 start = MonotonicMs();
    qint64 requests = 0;
    for (qint64 next = start; !g_stop; next += options.intervalMs) {
        if (options.count && requests >= *options.count)
            break;
        if (options.forMs && MonotonicMs() - start >= *options.forMs)
            break;
        link.waitUntil([&] { return g_stop || MonotonicMs() >= next; },
                       std::max<qint64>(0, next - MonotonicMs()) + 50);
        if (g_stop || (options.forMs && MonotonicMs() - start >= *options.forMs))
            break;
        const DeviceResult result = link.exchange(request);
        ++requests;
        if (!result.answered() || result.modbus.kind != ModbusExchange::Reply::Good)
            continue;
        const PollRow row = PollRowOf(columns, *page, result.modbus.values, QDateTime::currentDateTime());
        if (options.json)
            PrintJsonLine(PollRowJson(columns, row));
        if (out.isOpen())
            emitText(PollCsvRow(row), true);
        else if (!options.json)
            emitText(PollCsvRow(row), false);
        // A slow device must not make the ticks pile up: the next one is due an interval after
        // this reply at the earliest.
        next = std::max(next, MonotonicMs() - options.intervalMs);
    }
    const ModbusHealth health = link.session().modbus().health();
    if (options.json)
        PrintJsonLine(QJsonObject{{"health", healthJson(health)}});
    PrintErr(ModbusHealthText(health, config.language()) + QLatin1Char('\n'));
    // Every request that ended without a good reply is a device problem.
    return health.ended() == health.good && health.good > 0 ? cliexit::kDone : cliexit::kDeviceProblem;
}
