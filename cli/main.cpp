// tervalon-cli: the console's commissioning and watching from a script, over the same
// device engine and parameter model as the window.

#include "cli/CliConfig.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "config/AppError.h"

#include <QCoreApplication>

namespace {

// One line, so a script's log shows the whole reason where it looks.
int usageError(const QString& line) {
    PrintError(line + QStringLiteral(" (see tervalon-cli --help)"));
    return cliexit::kUsage;
}

int run(const CliOptions& o) {
    using Command = CliOptions::Command;
    if (o.command == Command::Ports)
        return RunPorts(o);
    const CliConfig config = LoadCliConfig(o);
    switch (o.command) {
    case Command::Read:
        return RunRead(o, config);
    case Command::Compare:
        return RunCompare(o, config);
    case Command::Write:
        return RunWrite(o, config);
    case Command::Poll:
        return RunPoll(o, config);
    case Command::Send:
        return RunSend(o, config);
    case Command::Batch:
        return RunBatch(o, config);
    default:
        return cliexit::kUsage;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const CliParse parse = ParseCliArguments(arguments);
    if (parse.options.help) {
        PrintOut(parse.options.helpAll ? CliUsageAll() : CliUsage(parse.options.command));
        return cliexit::kDone;
    }
    if (parse.options.version) {
        PrintOut(QStringLiteral("tervalon-cli %1\n").arg(QStringLiteral(TERVALON_VERSION)));
        return cliexit::kDone;
    }
    if (!parse.ok())
        return usageError(parse.error);
    try {
        return run(parse.options);
    } catch (const AppError& e) {
        PrintError(e.text());
        return cliexit::kUsage;
    } catch (const std::exception& e) {
        PrintError(QString::fromLocal8Bit(e.what()));
        return cliexit::kUsage;
    }
}
