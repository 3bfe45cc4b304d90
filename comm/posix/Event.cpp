#include "comm/posix/Event.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace posixcomm {

Event::~Event() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool Event::Create() {
    fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return fd_ >= 0;
}

void Event::Set() {
    const std::uint64_t one = 1;
    ssize_t rc;
    do {
        rc = ::write(fd_, &one, sizeof one);
    } while (rc < 0 && errno == EINTR);
}

void Event::Reset() {
    std::uint64_t value;
    ssize_t rc;
    do {
        rc = ::read(fd_, &value, sizeof value);
    } while (rc < 0 && errno == EINTR);
}

bool Event::IsSet() const {
    pollfd p{fd_, POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&p, 1, 0);
    } while (rc < 0 && errno == EINTR);
    return rc > 0 && (p.revents & POLLIN);
}

} // namespace posixcomm
