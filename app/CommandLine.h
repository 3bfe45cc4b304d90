#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program. It is read before the window system is started,
// so that --help and --version work on a machine without a display.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString configPath; // --config FILE; empty when not given
    QString error;      // for Action::Error: what was wrong, in one line
};

// Reads the program's own options from the arguments after the program name. Options with a
// single dash (-platform, -style ...) belong to Qt and are passed over, with their value.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text --help prints.
QString CommandLineUsage(const QString& programName);

// Exit code for a command line that could not be understood.
constexpr int kCommandLineErrorExit = 2;
