#pragma once

// The commands of tervalon-cli. Each checks what it was given (exit 2) before it opens the
// port (exit 3 when that fails), then talks to the device through the engine.

#include <optional>

struct CliConfig;
struct CliOptions;
class DeviceLink;

int RunPorts(const CliOptions& options);
int RunRead(const CliOptions& options, const CliConfig& config);
int RunCompare(const CliOptions& options, const CliConfig& config);
int RunWrite(const CliOptions& options, const CliConfig& config);
int RunPoll(const CliOptions& options, const CliConfig& config);
int RunSend(const CliOptions& options, const CliConfig& config);
int RunBatch(const CliOptions& options, const CliConfig& config);

// Opens the link's port; nothing when it is open, else the exit status after saying why.
std::optional<int> OpenLink(DeviceLink& link, const CliConfig& config);
