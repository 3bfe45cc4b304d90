#include "app/CommandLine.h"

namespace {

// Qt's own options that take a value in the next argument; the value must not be read as one
// of ours.
bool qtOptionTakesValue(const QString& option) {
    static const QStringList withValue = {QStringLiteral("-platform"),
                                          QStringLiteral("-platformpluginpath"),
                                          QStringLiteral("-platformtheme"),
                                          QStringLiteral("-plugin"),
                                          QStringLiteral("-qmljsdebugger"),
                                          QStringLiteral("-style"),
                                          QStringLiteral("-stylesheet"),
                                          QStringLiteral("-session"),
                                          QStringLiteral("-display"),
                                          QStringLiteral("-geometry"),
                                          QStringLiteral("-title"),
                                          QStringLiteral("-name"),
                                          QStringLiteral("-qwindowgeometry"),
                                          QStringLiteral("-qwindowtitle"),
                                          QStringLiteral("-qwindowicon"),
                                          QStringLiteral("-fontengine"),
                                          QStringLiteral("-font"),
                                          QStringLiteral("-bg"),
                                          QStringLiteral("-fg"),
                                          QStringLiteral("-btn")};
    return withValue.contains(option);
}

CommandLine failure(const QString& text) {
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = text;
    return line;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == QLatin1String("--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (arg == QLatin1String("--config") || arg.startsWith(QLatin1String("--config="))) {
            QString value;
            if (arg == QLatin1String("--config")) {
                if (i + 1 >= arguments.size())
                    return failure(QStringLiteral("--config needs a file name"));
                value = arguments[++i];
            } else {
                value = arg.mid(int(sizeof("--config=") - 1));
            }
            if (value.isEmpty())
                return failure(QStringLiteral("--config needs a file name"));
            line.configPath = value;
            continue;
        }
        if (arg.startsWith(QLatin1String("--")))
            return failure(QStringLiteral("unknown option '%1'").arg(arg));
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (qtOptionTakesValue(arg))
                ++i;
            continue;
        }
        return failure(QStringLiteral("unexpected argument '%1'").arg(arg));
    }
    return line;
}

QString CommandLineUsage(const QString& programName) {
    return QStringLiteral(
               "Usage: %1 [--config FILE]\n"
               "A console for configuring and watching a field device over a serial port.\n"
               "\n"
               "  --config FILE  use FILE as the configuration (banner.jpg is looked for beside it)\n"
               "  --help         show this text and exit\n"
               "  --version      show the program's version and exit\n"
               "\n"
               "Without --config the configuration is config.xml beside the program when there is\n"
               "one, otherwise the user's own file, $XDG_CONFIG_HOME/tervalon/config.xml\n"
               "(~/.config/tervalon/config.xml), made from the installed example on first start.\n")
        .arg(programName);
}
