#include "CliDevice.h"

#include <QJsonDocument>
#include <QProcess>

namespace {

constexpr int kRunDeadlineMs = 120000; // a loaded machine; a hang still ends the test

CliResult runProcess(const QStringList& arguments, const QByteArray& input, const QString& inputFile = {}) {
    QProcess process;
    process.setProgram(binDir() + "/tervalon-cli");
    if (!inputFile.isEmpty())
        process.setStandardInputFile(inputFile);
    process.setArguments(arguments);
    process.start();
    CliResult result;
    if (!process.waitForStarted(kRunDeadlineMs))
        return result;
    if (inputFile.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(kRunDeadlineMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

QJsonObject CliResult::json() const {
    return QJsonDocument::fromJson(out).object();
}

SimulatedDevice::Setup ExampleDevice(const QString& configPath) {
    SimulatedDevice::Setup setup = LoadSimulatorSetup(configPath);
    setup.textValues = {{1001, "5"},    {1002, "2"},  {1003, "1"},     {1004, "1"}, {2001, "-3"},
                        {2002, "1000"}, {2003, "26"}, {2004, "48879"}, {3001, "0"}, {3002, "502"}};
    return setup;
}

CliDevice::CliDevice(int readTimeoutMs) {
    testApp();
    dir.copyExample("config.xml");
    QByteArray xml = dir.read("config.xml");
    xml.replace("readTimeoutMs=\"1000\"", "readTimeoutMs=\"" + QByteArray::number(readTimeoutMs) + "\"");
    dir.write("config.xml", xml);
}

DeviceLine& CliDevice::start(SimulatedDevice::Setup setup) {
    return lines.emplace_back(std::move(setup));
}

CliResult CliDevice::run(const QStringList& arguments, const QByteArray& input, int line) const {
    QStringList all = arguments;
    all << "--config" << configPath();
    if (line < static_cast<int>(lines.size()))
        all << "--port" << std::next(lines.begin(), line)->portPath();
    return runProcess(all, input);
}

CliResult CliDevice::runWithInputFile(const QStringList& arguments, const QString& inputFile) const {
    QStringList all = arguments;
    all << "--config" << configPath() << "--port" << lines.front().portPath();
    return runProcess(all, {}, inputFile);
}

CliResult CliDevice::runBare(const QStringList& arguments) const {
    return runProcess(arguments, {});
}
