#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ReadOutput.h"
#include "cli/SnapshotCompare.h"

int RunCompare(const CliOptions& options, const CliConfig& config) {
    const std::optional<QList<SnapshotRow>> snapshot = LoadSnapshot(config, options.argument);
    if (!snapshot)
        return cliexit::kUsage;
    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    const SnapshotComparison c = ReadAndCompare(link, config, *snapshot);
    const QStringList silent = SilentLines(config, c.values);
    if (options.json) {
        PrintJson(ComparisonJson(config, options.argument, c));
    } else {
        const bool whole = silent.isEmpty() && c.placement.unplaced.isEmpty();
        QString text =
            c.differences.isEmpty()
                ? (whole ? config.text(QT_TRANSLATE_NOOP("Cli", "The device matches the snapshot\n"))
                         : config.text(
                               QT_TRANSLATE_NOOP("Cli", "The parameters compared match the snapshot\n")))
                : config.text(QT_TRANSLATE_N_NOOP("Cli", "%n parameter(s) differ from the snapshot:\n"),
                              c.differences.size()) +
                      DifferencesTable(config, c);
        if (!silent.isEmpty())
            text += config.text(QT_TRANSLATE_N_NOOP(
                                    "Cli", "\n%n parameter(s) did not answer and were not compared:\n"),
                                silent.size()) +
                    silent.join(QLatin1Char('\n')) + QLatin1Char('\n');
        PrintOut(text);
    }
    // A snapshot row that fits no parameter was not compared either: the device is not known
    // to match it.
    const bool matches = c.differences.isEmpty() && silent.isEmpty() && c.placement.unplaced.isEmpty();
    return matches ? cliexit::kDone : cliexit::kDeviceProblem;
}
