#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ReadOutput.h"
#include "cli/SnapshotCompare.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"
#include "console/protocol/WriteJournal.h"

#include <cstdio>

namespace {

struct Outcome {
    const Parameter* parameter = nullptr;
    bool written = false;
    bool verified = false;
    QString reason; // why it failed
};

// The one question a person at a terminal answers; anything but yes keeps the device as it is.
bool confirmed(const CliConfig& config, qsizetype count) {
    PrintErr(config.text(QT_TRANSLATE_N_NOOP("Cli", "Write these %n parameter(s)? [y/N] "), count));
    char answer[64] = {};
    if (!std::fgets(answer, sizeof answer, stdin))
        return false;
    const QString a = QString::fromLocal8Bit(answer).trimmed().toLower();
    return a == QLatin1String("y") || a == QLatin1String("yes") || a == QStringLiteral("是");
}

class Writer {
public:
    Writer(DeviceLink& link, const CliConfig& config)
        : m_link(link), m_config(config), m_journal(config.journalPath()) {}

    // The value is written only as the field would send it once it shows it, so a hexadecimal
    // snapshot value goes out in the same decimal form the window sends. The write's answer
    // comes before the read-back, so it is never taken for the value read back.
    Outcome write(const Parameter& p, const QString& before, const QString& wanted) {
        Outcome o;
        o.parameter = &p;
        const QString lang = m_config.languageCode;
        const auto shown = ShownTextOf(p, wanted, lang);
        const auto value = shown ? DeviceValueOf(p, *shown, lang) : std::nullopt;
        if (!value) {
            o.reason =
                m_config.text(QT_TRANSLATE_NOOP("Cli", "the parameter cannot take the snapshot's value"));
            return o;
        }
        DeviceRequest request;
        request.expect = DeviceRequest::Expect::AnyLine;
        request.bytes = LineToBytes(WriteCommand(p.address, *value));
        request.timeoutMs = m_config.model.readTimeoutMs();
        JournalEntry entry{QDateTime::currentDateTime(),
                           m_config.port.port,
                           p.address,
                           p.captionIn(lang),
                           before,
                           *value,
                           QString()};
        const DeviceResult ack = m_link.exchange(request);
        if (ack.status == DeviceResult::Status::NotSent) {
            o.reason = m_config.text(QT_TRANSLATE_NOOP("Cli", "the port took nothing"));
            return o;
        }
        o.written = true;
        if (ack.answered())
            entry.reply = BlockAsText(ack.line).trimmed();
        QString error;
        if (!m_journal.append(entry, &error)) {
            PrintError(
                m_config.text(QT_TRANSLATE_NOOP("Cli", "the write journal could not be written: %1: %2"))
                    .arg(m_journal.path(), error));
            m_journalFailed = true;
        }
        const DeviceResult back = m_link.exchange(ReadRequest(p, m_config.model.readTimeoutMs(), lang));
        const ReadValue read = ReadValueOf(p, back, lang);
        if (!read.answered)
            o.reason = m_config.text(QT_TRANSLATE_NOOP("Cli", "no reply when read back"));
        else if (!SameDeviceValue(read.deviceValue, *value))
            o.reason = m_config.text(QT_TRANSLATE_NOOP("Cli", "read back %1")).arg(read.deviceValue);
        else
            o.verified = true;
        return o;
    }
    bool journalFailed() const { return m_journalFailed; }

private:
    DeviceLink& m_link;
    const CliConfig& m_config;
    WriteJournal m_journal;
    bool m_journalFailed = false;
};

QString line(const CliConfig& config, const Parameter& p) {
    return QStringLiteral("%1  %2").arg(p.address).arg(p.captionIn(config.languageCode));
}

QJsonObject outcomeJson(const CliConfig& config, const Outcome& o) {
    QJsonObject j{{"address", o.parameter->address},
                  {"tag", o.parameter->tag},
                  {"caption", o.parameter->captionIn(config.languageCode)}};
    if (!o.reason.isEmpty())
        j.insert("reason", o.reason);
    return j;
}

void report(const CliOptions& options, const CliConfig& config, const SnapshotComparison& c,
            const QList<Outcome>& outcomes) {
    QJsonArray written, verified, failed;
    QStringList w, v, f;
    for (const Outcome& o : outcomes) {
        if (o.written) {
            written.append(outcomeJson(config, o));
            w << line(config, *o.parameter);
        }
        if (o.verified) {
            verified.append(outcomeJson(config, o));
            v << line(config, *o.parameter);
        } else {
            failed.append(outcomeJson(config, o));
            f << line(config, *o.parameter) + QStringLiteral(": ") + o.reason;
        }
    }
    if (options.json) {
        PrintJson(QJsonObject{{"config", config.path},
                              {"port", config.port.port},
                              {"snapshot", options.argument},
                              {"journal", config.journalPath()},
                              {"written", written},
                              {"verified", verified},
                              {"failed", failed},
                              {"silent", SilentJson(config, c.values)},
                              {"unplaced", UnplacedJson(c)}});
        return;
    }
    auto section = [](const QString& title, const QStringList& lines) {
        return title.arg(lines.size()) + QLatin1Char('\n') +
               (lines.isEmpty()
                    ? QString()
                    : QStringLiteral("  ") + lines.join(QStringLiteral("\n  ")) + QLatin1Char('\n'));
    };
    QString text = section(config.text(QT_TRANSLATE_NOOP("Cli", "Written: %1")), w) +
                   section(config.text(QT_TRANSLATE_NOOP("Cli", "Verified: %1")), v) +
                   section(config.text(QT_TRANSLATE_NOOP("Cli", "Failed: %1")), f);
    const QStringList silent = SilentLines(config, c.values);
    if (!silent.isEmpty())
        text += section(config.text(QT_TRANSLATE_NOOP("Cli", "Did not answer, not compared: %1")), silent);
    PrintOut(text);
}

} // namespace

int RunWrite(const CliOptions& options, const CliConfig& config) {
    const std::optional<QList<SnapshotRow>> snapshot = LoadSnapshot(config, options.argument);
    if (!snapshot)
        return cliexit::kUsage;
    // Refused before anything is sent: a script without --yes must not hang on a question.
    if (!options.yes && !options.dryRun && !StdInIsTerminal()) {
        PrintError(config.text(
            QT_TRANSLATE_NOOP("Cli", "standard input is not a terminal, so nothing is written without --yes "
                                     "(or --dry-run to list only)")));
        return cliexit::kUsage;
    }
    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    const SnapshotComparison c = ReadAndCompare(link, config, *snapshot);
    // Parameters that did not answer and snapshot rows that fit no parameter were not
    // compared, so the device is not known to match the snapshot afterwards.
    const bool silent = !SilentLines(config, c.values).isEmpty() || !c.placement.unplaced.isEmpty();

    if (c.differences.isEmpty() || options.dryRun || !options.yes) {
        if (!options.json || !options.dryRun) {
            // With --json, standard output holds the one document only.
            (options.json ? PrintErr : PrintOut)(
                c.differences.isEmpty()
                    ? config.text(
                          QT_TRANSLATE_NOOP("Cli", "The device matches the snapshot; nothing to write\n"))
                    : config.text(QT_TRANSLATE_N_NOOP(
                                      "Cli", "These %n parameter(s) would be written to the device:\n"),
                                  c.differences.size()) +
                          DifferencesTable(config, c));
        }
        if (options.dryRun && options.json)
            PrintJson(ComparisonJson(config, options.argument, c));
        if (c.differences.isEmpty())
            return silent ? cliexit::kDeviceProblem : cliexit::kDone;
        if (options.dryRun)
            return cliexit::kDeviceProblem;
        if (!confirmed(config, c.differences.size())) {
            PrintErr(config.text(QT_TRANSLATE_NOOP("Cli", "Nothing was written\n")));
            return cliexit::kDeviceProblem;
        }
    }

    Writer writer(link, config);
    QList<Outcome> outcomes;
    for (const SnapshotDifference& d : c.differences)
        outcomes << writer.write(*c.parameters[d.row], d.deviceValue, d.snapshotValue);
    report(options, config, c, outcomes);
    const bool allVerified =
        std::all_of(outcomes.begin(), outcomes.end(), [](const Outcome& o) { return o.verified; });
    return allVerified && !silent && !writer.journalFailed() ? cliexit::kDone : cliexit::kDeviceProblem;
}
