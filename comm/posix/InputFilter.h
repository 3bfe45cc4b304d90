#pragma once

#include <cstddef>
#include <cstdint>

namespace posixcomm {

// What the kernel cannot do for received bytes and the reader does in software: drop NUL bytes,
// and turn parity marks (\377 \0 <byte>, set by PARMRK) into a replacement character. A mark can
// be split between two reads, so the filter carries its position across calls.
struct InputOptions {
    bool ignoreNull = false;
    bool replaceMarked = false; // PARMRK is on: undo the kernel's marking
    char replacement = 0;
};

class InputFilter {
public:
    // Filters `data` in place and returns the number of bytes kept.
    std::size_t Apply(const InputOptions& options, char* data, std::size_t size);

private:
    enum class Mark { None, SawFF, SawFF00 } mark_ = Mark::None;
};

} // namespace posixcomm
