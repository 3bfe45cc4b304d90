#pragma once

#include <string>

namespace posixcomm {

// Why a port could not be opened, in the terms a user can act on.
enum class OpenFailure {
    Missing,      // no such device (unplugged, wrong name)
    NoPermission, // the user is not in the group that may open it
    InUse,        // another program holds it
    Other,
};

OpenFailure ClassifyOpenError(int err);

// The group whose members may open the device file at path (usually "dialout"); empty when
// the file or its group cannot be found.
std::string DeviceGroupName(const std::string& path);

} // namespace posixcomm
