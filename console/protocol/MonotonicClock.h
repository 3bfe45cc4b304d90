#pragma once

#include <QtGlobal>
#include <chrono>

// Milliseconds of a clock that never jumps with the wall clock, for the console's time-outs.
inline qint64 MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
