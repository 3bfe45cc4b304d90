#pragma once

#include "comm/posix/CommState.h"

#include <cerrno>
#include <cstdint>

// The kernel's termios2 record, mirrored field by field so that nothing outside Termios2.cpp
// needs <asm/termbits.h>, which cannot be included together with glibc's <termios.h>.
// Flag values are the kernel's and equal glibc's on Linux.
namespace posixcomm {

struct LineState {
    std::uint32_t iflag = 0;
    std::uint32_t oflag = 0;
    std::uint32_t cflag = 0;
    std::uint32_t lflag = 0;
    std::uint8_t line = 0;
    std::uint8_t cc[19] = {};
    std::uint32_t ispeed = 0;
    std::uint32_t ospeed = 0;
};

// TCGETS2 / TCSETS2. Both retry on EINTR and leave errno set on failure.
bool GetLineState(int fd, LineState& state);
bool SetLineState(int fd, const LineState& state);

// Puts `wanted` in force through `set`. When it is refused, `current` is set again, since
// a driver may have taken part of it, and the refusal is still the result: the caller asked
// for settings the port does not have. errno is the refusal's.
template <class Set> bool SwitchLineState(const LineState& current, const LineState& wanted, Set&& set) {
    if (set(wanted))
        return true;
    const int err = errno;
    set(current);
    errno = err;
    return false;
}

// Raw mode plus the settings of `dcb` on top of `current` (which supplies the fields no DCB
// setting touches). Expects a DCB that CommFile already checked for sense.
LineState BuildLineState(const LineState& current, const CommState& dcb);

// Fills the DCB fields termios can express; the others keep the values already in `dcb`.
void DecodeLineState(const LineState& state, CommState& dcb);

} // namespace posixcomm
