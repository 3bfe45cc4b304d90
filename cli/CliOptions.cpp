#include "cli/CliOptions.h"

#include <QHash>
#include <QRegularExpression>

namespace {

using Command = CliOptions::Command;

const QList<std::pair<QString, Command>>& commandNames() {
    static const QList<std::pair<QString, Command>> names = {
        {QStringLiteral("ports"), Command::Ports},     {QStringLiteral("read"), Command::Read},
        {QStringLiteral("compare"), Command::Compare}, {QStringLiteral("write"), Command::Write},
        {QStringLiteral("poll"), Command::Poll},       {QStringLiteral("send"), Command::Send},
        {QStringLiteral("batch"), Command::Batch}};
    return names;
}

std::optional<Command> commandOf(const QString& name) {
    for (const auto& [n, c] : commandNames())
        if (n == name)
            return c;
    return std::nullopt;
}

// Which options a command takes besides the common ones.
bool takes(Command c, const QString& option) {
    static const QHash<QString, QList<Command>> owners = {
        {QStringLiteral("--page"), {Command::Read, Command::Poll}},
        {QStringLiteral("--out"), {Command::Read, Command::Poll}},
        {QStringLiteral("--json"),
         {Command::Read, Command::Compare, Command::Write, Command::Poll, Command::Ports}},
        {QStringLiteral("--yes"), {Command::Write}},
        {QStringLiteral("--dry-run"), {Command::Write}},
        {QStringLiteral("--interval"), {Command::Poll}},
        {QStringLiteral("--count"), {Command::Poll}},
        {QStringLiteral("--for"), {Command::Poll}}};
    const auto it = owners.constFind(option);
    return it == owners.constEnd() || it->contains(c);
}

bool needsArgument(Command c) {
    return c == Command::Compare || c == Command::Write || c == Command::Send || c == Command::Batch;
}

QString argumentName(Command c) {
    switch (c) {
    case Command::Compare:
    case Command::Write:
        return QStringLiteral("FILE.csv");
    case Command::Send:
        return QStringLiteral("TEXT");
    case Command::Batch:
        return QStringLiteral("NAME");
    default:
        return {};
    }
}

std::optional<qint64> wholeNumber(const QString& text, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

// Applies an option with a value; the error when the value is not acceptable.
QString takeValue(CliOptions& o, const QString& option, const QString& value) {
    static const QStringList parities = {"N", "O", "E", "M", "S"};
    if (option == QLatin1String("--config"))
        o.configPath = value;
    else if (option == QLatin1String("--port"))
        o.port = value;
    else if (option == QLatin1String("--baud")) {
        if (!wholeNumber(value, 1, 4000000))
            return QStringLiteral("--baud needs a positive whole number, not \"%1\"").arg(value);
        o.baud = value;
    } else if (option == QLatin1String("--parity")) {
        if (!parities.contains(value.toUpper()))
            return QStringLiteral("--parity is one of N, O, E, M, S, not \"%1\"").arg(value);
        o.parity = value.toUpper();
    } else if (option == QLatin1String("--data-bits")) {
        if (!wholeNumber(value, 5, 8))
            return QStringLiteral("--data-bits is 5, 6, 7 or 8, not \"%1\"").arg(value);
        o.dataBits = value;
    } else if (option == QLatin1String("--stop-bits")) {
        if (value != QLatin1String("1") && value != QLatin1String("1.5") && value != QLatin1String("2"))
            return QStringLiteral("--stop-bits is 1, 1.5 or 2, not \"%1\"").arg(value);
        o.stopBits = value;
    } else if (option == QLatin1String("--lang")) {
        if (value != QLatin1String("en") && value != QLatin1String("zh"))
            return QStringLiteral("--lang is en or zh, not \"%1\"").arg(value);
        o.lang = value;
    } else if (option == QLatin1String("--page")) {
        o.pages << value;
    } else if (option == QLatin1String("--out")) {
        o.out = value;
    } else if (option == QLatin1String("--interval")) {
        const auto n = wholeNumber(value, 10, 3600000);
        if (!n)
            return QStringLiteral("--interval is a number of milliseconds from 10 to 3600000, not \"%1\"")
                .arg(value);
        o.intervalMs = static_cast<int>(*n);
    } else if (option == QLatin1String("--count")) {
        o.count = wholeNumber(value, 1, std::numeric_limits<int>::max());
        if (!o.count)
            return QStringLiteral("--count needs a positive whole number, not \"%1\"").arg(value);
    } else if (option == QLatin1String("--for")) {
        o.forMs = ParseDuration(value);
        if (!o.forMs)
            return QStringLiteral("--for needs a duration such as 30s, 500ms, 5m or 1h, not \"%1\"")
                .arg(value);
    } else {
        return QStringLiteral("unknown option %1").arg(option);
    }
    return {};
}

bool hasValue(const QString& option) {
    static const QStringList withValue = {"--config",    "--port",      "--baud",  "--parity",
                                          "--data-bits", "--stop-bits", "--lang",  "--page",
                                          "--out",       "--interval",  "--count", "--for"};
    return withValue.contains(option);
}

QString checkCombination(const CliOptions& o) {
    const QString name = CommandName(o.command);
    if (needsArgument(o.command) && o.argument.isNull())
        return QStringLiteral("%1 needs %2").arg(name, argumentName(o.command));
    if (o.command == Command::Poll) {
        if (o.pages.size() != 1)
            return QStringLiteral("poll needs exactly one --page NAME");
        if (o.count && o.forMs)
            return QStringLiteral("poll takes --count or --for, not both");
    }
    if (o.yes && o.dryRun)
        return QStringLiteral("write takes --yes or --dry-run, not both");
    return {};
}

} // namespace

std::optional<qint64> ParseDuration(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d+(?:\\.\\d+)?)(ms|s|m|h)?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const double n = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    const double factor = unit == QLatin1String("ms")  ? 1
                          : unit == QLatin1String("m") ? 60000
                          : unit == QLatin1String("h") ? 3600000
                                                       : 1000;
    const double ms = n * factor;
    if (ms < 1 || ms > 366.0 * 24 * 3600000)
        return std::nullopt;
    return static_cast<qint64>(ms);
}

QString CommandName(Command command) {
    for (const auto& [n, c] : commandNames())
        if (c == command)
            return n;
    return {};
}

CliParse ParseCliArguments(const QStringList& args) {
    CliParse parse;
    CliOptions& o = parse.options;
    bool optionsEnded = false;
    QStringList given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.startsWith(QLatin1String("--"))) {
            QString value;
            bool inlineValue = false;
            if (const qsizetype eq = arg.indexOf(QLatin1Char('=')); eq > 0) {
                value = arg.mid(eq + 1);
                arg = arg.left(eq);
                inlineValue = true;
            }
            if (arg == QLatin1String("--help-all")) {
                o.help = o.helpAll = true;
                continue;
            }
            if (arg == QLatin1String("--help") || arg == QLatin1String("--version") ||
                arg == QLatin1String("--json") || arg == QLatin1String("--yes") ||
                arg == QLatin1String("--dry-run")) {
                if (inlineValue) {
                    parse.error = QStringLiteral("%1 takes no value").arg(arg);
                    return parse;
                }
                (arg == QLatin1String("--help")      ? o.help
                 : arg == QLatin1String("--version") ? o.version
                 : arg == QLatin1String("--json")    ? o.json
                 : arg == QLatin1String("--yes")     ? o.yes
                                                     : o.dryRun) = true;
            } else if (hasValue(arg)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size()) {
                        parse.error = QStringLiteral("%1 needs a value").arg(arg);
                        return parse;
                    }
                    value = args[++i];
                }
                if (const QString e = takeValue(o, arg, value); !e.isEmpty()) {
                    parse.error = e;
                    return parse;
                }
            } else {
                parse.error = QStringLiteral("unknown option %1").arg(arg);
                return parse;
            }
            given << arg;
            continue;
        }
        if (o.command == Command::None) {
            const auto c = commandOf(arg);
            if (!c) {
                parse.error = QStringLiteral("unknown command \"%1\"").arg(arg);
                return parse;
            }
            o.command = *c;
            continue;
        }
        if (!needsArgument(o.command) || !o.argument.isNull()) {
            parse.error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            return parse;
        }
        o.argument = arg;
    }
    if (o.help || o.version)
        return parse;
    if (o.command == Command::None) {
        parse.error = QStringLiteral("no command given");
        return parse;
    }
    // Options given before the command are checked against it now.
    for (const QString& option : std::as_const(given))
        if (!takes(o.command, option)) {
            parse.error = QStringLiteral("%1 does not take %2").arg(CommandName(o.command), option);
            return parse;
        }
    parse.error = checkCombination(o);
    return parse;
}

QString CliUsage(Command command) {
    switch (command) {
    case Command::Ports:
        return QStringLiteral("Usage: tervalon-cli ports [--json]\n"
                              "Lists the serial devices present, stable /dev/serial/by-id names first.\n");
    case Command::Read:
        return QStringLiteral(
            "Usage: tervalon-cli read [--page NAME]... [--out FILE.csv] [--json] [OPTION]...\n"
            "Reads every parameter of config.xml's parameter pages (or of the pages named, by tag or\n"
            "caption) one at a time and prints them; --out also writes a snapshot CSV the window can\n"
            "load. Parameters that did not answer are listed at the end (exit status 1).\n");
    case Command::Compare:
        return QStringLiteral(
            "Usage: tervalon-cli compare FILE.csv [--json] [OPTION]...\n"
            "Reads every parameter and lists those that differ from the snapshot: address,\n"
            "caption, snapshot value and device value, each as shown and as sent.\n"
            "Exit status 0 when nothing differs, 1 when something differs or did not answer.\n");
    case Command::Write:
        return QStringLiteral(
            "Usage: tervalon-cli write FILE.csv [--yes | --dry-run] [--json] [OPTION]...\n"
            "Reads every parameter, writes only those that differ from the snapshot, reads each\n"
            "back and reports written, verified and failed. Without --yes it lists what it would\n"
            "write and asks on a terminal; it refuses when standard input is not a terminal.\n"
            "--dry-run lists and writes nothing. Every write is recorded in write-journal.csv\n"
            "beside config.xml.\n");
    case Command::Poll:
        return QStringLiteral(
            "Usage: tervalon-cli poll --page NAME [--interval MS] [--count N | --for DURATION] [--out "
            "FILE.csv] [--json]\n"
            "Polls one automatic-reading (Modbus) page every MS milliseconds (default 1000) and\n"
            "prints one CSV row per reply: the time, then each value scaled as its label shows it\n"
            "(--json: one JSON object per line). Stops after N requests, after DURATION (30s,\n"
            "500ms, 5m, 1h) or at Ctrl+C, then prints the health counts on standard error.\n");
    case Command::Send:
        return QStringLiteral("Usage: tervalon-cli send TEXT [OPTION]...\n"
                              "Sends TEXT and CR LF and prints the reply lines that come within the read\n"
                              "time-out of each other (exit status 1 when none comes).\n");
    case Command::Batch:
        return QStringLiteral(
            "Usage: tervalon-cli batch NAME [OPTION]...\n"
            "Runs the configured batch of that caption, step by step with its pauses, and\n"
            "prints the reply lines. A batch with a step that waits for a person is refused.\n");
    case Command::None:
        break;
    }
    return QStringLiteral(
        "Usage: tervalon-cli [OPTION]... COMMAND [ARGUMENT] [COMMAND OPTION]...\n"
        "Commission and watch a field device from a script, with the console's config.xml.\n"
        "\n"
        "Commands:\n"
        "  ports              list the serial devices present\n"
        "  read               read every parameter (or --page NAME ...), --out FILE.csv a snapshot\n"
        "  compare FILE.csv   list the parameters that differ from a snapshot\n"
        "  write FILE.csv     write what differs from a snapshot and verify it (--yes, --dry-run)\n"
        "  poll --page NAME   poll an automatic-reading page (--interval, --count, --for, --out)\n"
        "  send TEXT          send a line and print the reply\n"
        "  batch NAME         run a configured batch and print the replies\n"
        "Run 'tervalon-cli COMMAND --help' for a command's own options.\n"
        "\n"
        "Options:\n"
        "  --config FILE      the configuration (default: as the window finds it)\n"
        "  --port PORT        the port, COMn or a device path (overrides COMM for this run)\n"
        "  --baud N           baud rate\n"
        "  --parity P         N, O, E, M or S\n"
        "  --data-bits N      5, 6, 7 or 8\n"
        "  --stop-bits N      1, 1.5 or 2\n"
        "  --lang en|zh       language of messages (default: config.xml's LANGUAGE)\n"
        "  --json             one JSON document (poll: JSON lines) instead of the table\n"
        "  --help             show this help, or a command's\n"
        "  --help-all         show this help and every command's\n"
        "  --version          show the version\n"
        "\n"
        "Port settings given here are never written back to config.xml.\n"
        "\n"
        "Exit status:\n"
        "  0  done, and nothing differs\n"
        "  1  a device or verification problem (time-out, difference, failed write)\n"
        "  2  a usage or configuration error\n"
        "  3  the port could not be opened\n");
}

QString CliUsageAll() {
    QString text = CliUsage(Command::None) + QStringLiteral("\nCommands in detail:\n");
    for (const auto& [name, command] : commandNames()) {
        QStringList lines = CliUsage(command).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // The command's synopsis heads its paragraph; the manual page keeps one Usage line.
        lines[0] = lines[0].mid(QStringLiteral("Usage: tervalon-cli ").size());
        for (qsizetype i = 1; i < lines.size(); ++i)
            lines[i] = QStringLiteral("    ") + lines[i].trimmed();
        text += QStringLiteral("\n  ") + lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    return text;
}
