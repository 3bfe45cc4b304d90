#pragma once

#include <cstddef>

namespace posixcomm {

// Writes the whole block to a descriptor, retrying interrupted writes and waiting for room on
// a non-blocking one. False on any other failure (the far side gone).
bool WriteAll(int fd, const char* data, std::size_t size);

} // namespace posixcomm
