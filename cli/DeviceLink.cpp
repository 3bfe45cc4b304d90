#include "cli/DeviceLink.h"

#include "cli/CliConfig.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "comm/SerialComm.h"

#include <QEventLoop>
#include <QTimer>
#include <optional>

DeviceLink::DeviceLink(const CliConfig& config) : m_config(config) {
    QObject::connect(&m_session, &DeviceSession::hungUp, [this] {
        if (m_hungUp)
            return;
        m_hungUp = true;
        m_session.comm().StopComm();
        m_session.cancel();
        PrintError(
            m_config.text(QT_TRANSLATE_NOOP("Cli", "%1 was disconnected; the device is no longer present"))
                .arg(m_config.port.port));
    });
}

QString DeviceLink::open(bool* configError) {
    const QString wrong = ApplyPortSettings(m_session.comm(), m_config.port, m_config.language());
    *configError = !wrong.isEmpty();
    if (*configError)
        return wrong;
    return OpenPort(m_session.comm(), m_config.language());
}

DeviceResult DeviceLink::exchange(DeviceRequest request) {
    std::optional<DeviceResult> result;
    QEventLoop loop;
    m_session.request(std::move(request), [&](const DeviceResult& r) {
        result = r;
        loop.quit();
    });
    if (!result)
        loop.exec();
    return *result;
}

void DeviceLink::pause(qint64 ms) {
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max())),
                       Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool DeviceLink::waitUntil(const std::function<bool()>& done, qint64 ms) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    if (done())
        return true;
    deadline.start(static_cast<int>(std::min<qint64>(ms, std::numeric_limits<int>::max())));
    check.start(5);
    loop.exec();
    return done();
}

std::optional<int> OpenLink(DeviceLink& link, const CliConfig& config) {
    bool settingWrong = false;
    const QString failure = link.open(&settingWrong);
    if (failure.isEmpty())
        return std::nullopt;
    if (settingWrong) {
        PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "port settings: ")) + failure);
        return cliexit::kUsage;
    }
    PrintError(config.text(QT_TRANSLATE_NOOP("Cli", "%1 open error: %2")).arg(config.port.port, failure));
    return cliexit::kPortFailed;
}
