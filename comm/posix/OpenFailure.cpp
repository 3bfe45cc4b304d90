#include "comm/posix/OpenFailure.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

namespace posixcomm {

OpenFailure ClassifyOpenError(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return OpenFailure::Missing;
    case EACCES:
    case EPERM:
        return OpenFailure::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return OpenFailure::InUse;
    default:
        return OpenFailure::Other;
    }
}

std::string DeviceGroupName(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->gr_name;
}

} // namespace posixcomm
