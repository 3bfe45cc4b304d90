#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ParameterReads.h"
#include "cli/ReadOutput.h"

#include <QSaveFile>
#include <algorithm>

int RunRead(const CliOptions& options, const CliConfig& config) {
    QString unknown;
    std::optional<QList<int>> pages = config.parameterPages(options.pages, &unknown);
    if (!pages) {
        PrintError(
            config.text(QT_TRANSLATE_NOOP("Cli", "there is no parameter page named \"%1\"")).arg(unknown));
        return cliexit::kUsage;
    }
    std::sort(pages->begin(), pages->end());
    QList<const Parameter*> parameters;
    if (pages->isEmpty())
        parameters = config.model.rows();
    for (int page : std::as_const(*pages))
        parameters += config.model.rows(page);
    if (parameters.isEmpty()) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "the configuration has no parameters to read")));
        return cliexit::kUsage;
    }

    DeviceLink link(config);
    if (const auto failed = OpenLink(link, config))
        return *failed;
    const QList<ReadValue> values = ReadWithProgress(link, config, parameters);

    QList<SnapshotRow> rows;
    for (const ReadValue& v : values)
        rows << SnapshotRowOf(config, v);
    int status = std::all_of(values.begin(), values.end(), [](const ReadValue& v) { return v.answered; })
                     ? cliexit::kDone
                     : cliexit::kDeviceProblem;
    if (!options.out.isEmpty()) {
        // Whole or not at all: a failed save never leaves a cut-off snapshot in place.
        QSaveFile file(options.out);
        if (!file.open(QIODevice::WriteOnly) || file.write(SnapshotToCsv(rows)) < 0 || !file.commit()) {
            PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "the snapshot was not saved: %1: %2"))
                           .arg(options.out, file.errorString()));
            status = cliexit::kUsage;
        }
    }
    if (options.json)
        PrintJson(ReadJson(config, values));
    else
        PrintOut(ReadTable(config, values));
    return status;
}
