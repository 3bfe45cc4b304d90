#pragma once

#include "comm/posix/Event.h"

#include <atomic>

// Received blocks posted to the window and not yet handled. The reader stops reading while
// Limit of them wait, so a window that cannot keep up holds back the line (the far side of a
// pty blocks; a UART's own buffers fill) instead of piling up blocks in its event queue
// without bound, and the window never meets more than Limit blocks at once.
class InFlightBlocks {
public:
    static constexpr int Limit = 64;

    bool Create() { return Room.Create(); }
    // Reader, before posting a block.
    void Add() { Count.fetch_add(1, std::memory_order_relaxed); }
    // Whoever releases a block's message (on the window's thread).
    void Release() {
        if (Count.fetch_sub(1, std::memory_order_acq_rel) == Limit)
            Room.Set();
    }
    bool Full() const { return Count.load(std::memory_order_acquire) >= Limit; }
    // Readable once a block was released after the count had reached Limit; the reader
    // resets it before it looks at Full() again.
    posixcomm::Event& RoomEvent() { return Room; }

private:
    std::atomic<int> Count{0};
    posixcomm::Event Room;
};
