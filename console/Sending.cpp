#include "console/Sending.h"

#include "console/protocol/CommandText.h"
#include "ui/DelayWithMessages.h"
#include "ui/MessageBoxes.h"
#include "ui/ShowingErrors.h"

#include <QPlainTextEdit>
#include <QPushButton>

Sending::Sending(const SendingControls& controls, DeviceSession& device, const ParameterModel& parameters,
                 const QHash<QString, RowControls>& rows, const QList<TCMDS>& batches, QObject* parent)
    : QObject(parent), m_controls(controls), m_device(device), m_parameters(parameters), m_rows(rows),
      m_batches(batches) {
    setObjectName(QStringLiteral("Sending"));
}

void Sending::stage(const QString& line) {
    m_controls.sendBox->setPlainText(line);
    m_stagedLine = line;
    m_stagedShown = m_controls.sendBox->toPlainText();
}

QString Sending::lineToSend() const {
    const QString shown = m_controls.sendBox->toPlainText();
    if (m_stagedLine && m_stagedShown == shown)
        return *m_stagedLine;
    QString line = shown;
    line.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    line.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return line;
}

bool Sending::sendable(const QString& line) const {
    // Every line goes out one byte per character; one that cannot is refused whole rather
    // than sent with other characters in its place.
    if (const auto unsendable = FirstUnsendableCharacter(line)) {
        showMessage(UnsendableCharacterMessage(*unsendable, m_language));
        return false;
    }
    return true;
}

void Sending::sendBox() {
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    sendStaged(std::nullopt, request, {});
}

void Sending::sendStaged(const std::optional<QString>& own, DeviceRequest request,
                         DeviceSession::Callback done) {
    if (!sendable(own.value_or(lineToSend())))
        return;
    QPointer<Sending> alive(this);
    QPointer<QPushButton> button = m_controls.send;
    ++m_sendDepth;
    button->setEnabled(false);
    DelayWithMessages(100);
    if (!alive)
        return;
    const QString line = own.value_or(lineToSend());
    // The operator may have edited the box during the pause.
    const bool goes = own || !FirstUnsendableCharacter(line);
    if (goes) {
        stage(line);
        DelayWithMessages(10);
        if (!alive)
            return;
        queueLine(line, std::move(request), std::move(done));
    }
    if (--m_sendDepth == 0 && button)
        button->setEnabled(true);
    if (!goes)
        sendable(line);
}

bool Sending::send(const QString& line) {
    if (!sendable(line))
        return false;
    stage(line);
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    queueLine(line, request, {});
    return true;
}

void Sending::queueLine(const QString& line, DeviceRequest request, DeviceSession::Callback done) {
    // The engine logs the bytes as they go; the lamp flashes for the press and for the bytes.
    emit lineQueued();
    request.kind = DeviceRequest::Kind::Text;
    request.bytes = LineToBytes(line);
    request.owner = this;
    m_device.request(std::move(request), [done = std::move(done)](const DeviceResult& result) {
        if (done)
            runShowingErrors([&] { done(result); });
    });
}

void Sending::addFixedCommand(const QObject* button, const FixedCommandControls& record) {
    m_fixedCommands.insert(button, record);
}

bool Sending::setFixedCommand(const QObject* button, const QString& command) {
    auto it = m_fixedCommands.find(button);
    if (it == m_fixedCommands.end())
        return false;
    it->command = command;
    return true;
}

const FixedCommandControls* Sending::fixedCommand(const QObject* button) const {
    auto it = m_fixedCommands.constFind(button);
    return it == m_fixedCommands.constEnd() ? nullptr : &*it;
}

void Sending::sendFixedCommand(const QObject* button) {
    const FixedCommandControls* record = fixedCommand(button);
    if (!record)
        return;
    const QString line = FixedCommand(record->command, QDateTime::currentDateTime());
    stage(line);
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    sendStaged(line, request, {});
}
