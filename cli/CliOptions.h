#pragma once

// What the command line asks of tervalon-cli: the command, its arguments and the options that
// change the port settings, the language and the output for this run only. Read before
// anything is opened, so usage errors cost nothing and exit 2.

#include <QString>
#include <QStringList>
#include <optional>

struct CliOptions {
    enum class Command { None, Ports, Read, Compare, Write, Poll, Send, Batch };
    Command command = Command::None;
    bool help = false;
    bool helpAll = false; // --help-all: the overview and every command's help (the manual page)
    bool version = false;

    QString configPath; // --config FILE
    // Override config.xml's COMM for this run; never written back.
    QString port, baud, parity, dataBits, stopBits;
    QString lang; // "en", "zh" or empty: config.xml's LANGUAGE
    bool json = false;

    QStringList pages; // --page NAME, repeatable (read), one (poll)
    QString out;       // --out FILE.csv
    QString argument;  // compare/write FILE, send TEXT, batch NAME
    bool yes = false;
    bool dryRun = false;
    int intervalMs = 1000;
    std::optional<qint64> count;
    std::optional<qint64> forMs;
};

struct CliParse {
    CliOptions options;
    QString error; // one line; empty when the command line was understood
    bool ok() const { return error.isEmpty(); }
};

// Reads the arguments after the program name. The language of errors is English: the
// configuration that names the language has not been read yet.
CliParse ParseCliArguments(const QStringList& arguments);

// "3s", "500ms", "2m", "1h" or a number of seconds; nothing for anything else or below 1 ms.
std::optional<qint64> ParseDuration(const QString& text);

// The command's name as typed ("read"), and the command for a name.
QString CommandName(CliOptions::Command command);

// --help text: the overview without a command, or the command's own.
QString CliUsage(CliOptions::Command command);
// The overview followed by every command's own help.
QString CliUsageAll();
