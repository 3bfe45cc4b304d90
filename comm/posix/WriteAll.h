#pragma once

#include <cstddef>

namespace posixcomm {

// Writes the whole block to a descriptor, retrying interrupted writes and waiting for room on
// a non-blocking one. False on any other failure (the far side gone).
bool WriteAll(int fd, const char* data, std::size_t size);

// The same, but gives up once timeoutMs milliseconds have passed without the whole block going
// out: false with errno ETIMEDOUT, and the block may be partly written. For a writer that must
// stay responsive while nobody drains the other side. The deadline only holds on a non-blocking
// descriptor, since a blocking write() waits in the kernel for as long as it takes.
bool WriteAll(int fd, const char* data, std::size_t size, int timeoutMs);

} // namespace posixcomm
