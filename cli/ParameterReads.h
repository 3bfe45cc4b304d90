#pragma once

// Reading parameters through the engine and turning what was read into snapshot rows the
// window's own snapshot files hold.

#include "console/protocol/SnapshotCsv.h"
#include "device/DeviceRequest.h"
#include "device/ParameterModel.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class DeviceLink;
struct CliConfig;

// One parameter as the device answered it.
struct ReadValue {
    const Parameter* parameter = nullptr;
    bool answered = false;
    QString deviceValue; // what a Write would send back (hexadecimal fields in decimal)
    QString shown;       // what the window's field shows
    QDateTime time;
};

// The request that reads a parameter: its line, and the rule that takes a reply only when it
// is one the parameter's field can show and does not name another address.
DeviceRequest ReadRequest(const Parameter& parameter, int timeoutMs, const QString& languageCode);

// Whether a reply line names another address than the one read ("$KRDV,<n>=" with another
// n); a line in any other form names none.
bool ReplyNamesOtherAddress(QByteArrayView line, qint32 address);

// What a read's result gives for the parameter.
ReadValue ReadValueOf(const Parameter& parameter, const DeviceResult& result, const QString& languageCode);

// Reads each parameter in turn; progress(done, total) after each.
QList<ReadValue> ReadParameters(DeviceLink& link, const CliConfig& config,
                                const QList<const Parameter*>& parameters,
                                const std::function<void(qsizetype, qsizetype)>& progress = {});

// The snapshot row the window saves for a parameter showing this value. A parameter that did
// not answer has neither value nor time.
SnapshotRow SnapshotRowOf(const CliConfig& config, const ReadValue& value);
