#pragma once

// tervalon-cli run as a process against the simulated device on a pseudo-terminal, with a
// copy of the bundled example in a folder of its own (where the write journal goes too).

#include "DeviceLine.h"
#include "support/TestApp.h"

#include <QByteArray>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <list>
#include <optional>

struct CliResult {
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json() const; // standard output as one JSON document
};

// The example's device with known values (the same the window's commissioning tests use).
SimulatedDevice::Setup ExampleDevice(const QString& configPath);

class CliDevice {
public:
    explicit CliDevice(int readTimeoutMs = 1000);
    // Starts the simulated device; another may be started beside it for a second port.
    DeviceLine& start(SimulatedDevice::Setup setup);
    DeviceLine& start() { return start(ExampleDevice(configPath())); }

    QString configPath() const { return dir.file("config.xml"); }
    // Runs tervalon-cli with --config and --port of the device line given (the first by
    // default), waiting generously for it to end.
    CliResult run(const QStringList& arguments, const QByteArray& input = {}, int line = 0) const;
    // The same with standard input read from a file (a terminal's path, for questions).
    CliResult runWithInputFile(const QStringList& arguments, const QString& inputFile) const;
    // Runs with the arguments exactly as given.
    CliResult runBare(const QStringList& arguments) const;

    TempAppDir dir;
    std::list<DeviceLine> lines;
};
