#pragma once

// How what was read is printed: a table for people, a JSON document for scripts.

#include "cli/ParameterReads.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

struct CliConfig;
class DeviceLink;

// Address, caption, value as shown and as sent; then the parameters that did not answer.
QString ReadTable(const CliConfig& config, const QList<ReadValue>& values);
// {"config", "parameters": [...], "silent": [...]}
QJsonObject ReadJson(const CliConfig& config, const QList<ReadValue>& values);
// The parameters that did not answer: "address  caption" lines, or JSON objects.
QStringList SilentLines(const CliConfig& config, const QList<ReadValue>& values);
QJsonArray SilentJson(const CliConfig& config, const QList<ReadValue>& values);

// Reads the parameters, with progress on standard error when it is a terminal.
QList<ReadValue> ReadWithProgress(DeviceLink& link, const CliConfig& config,
                                  const QList<const Parameter*>& parameters);
