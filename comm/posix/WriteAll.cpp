#include "comm/posix/WriteAll.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace posixcomm {

namespace {

using Clock = std::chrono::steady_clock;

// Without a deadline it waits for room a second at a time, for as long as it takes.
bool writeAll(int fd, const char* data, std::size_t size, std::optional<Clock::time_point> deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            return false;
        int waitMs = 1000;
        if (deadline) {
            // Rounded up, so that the last wait does not spin on a sub-millisecond remainder.
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            if (left <= 0) {
                errno = ETIMEDOUT;
                return false;
            }
            waitMs = static_cast<int>(left);
        }
        // An interrupted or failed wait needs no handling: the next write tells.
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, waitMs);
    }
    return true;
}

} // namespace

bool WriteAll(int fd, const char* data, std::size_t size) {
    return writeAll(fd, data, size, std::nullopt);
}

bool WriteAll(int fd, const char* data, std::size_t size, int timeoutMs) {
    return writeAll(fd, data, size, Clock::now() + std::chrono::milliseconds(timeoutMs));
}

} // namespace posixcomm
