#pragma once

namespace posixcomm {

// An eventfd used as an event object. As a manual-reset event (the stop event) it is set once
// and never reset, so every poll() that includes it wakes from then on. As a wake-up signal
// (the writer's queue) the waiter resets it before looking at what it guards.
class Event {
public:
    Event() = default;
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    bool Create();
    void Set();
    void Reset();
    bool IsSet() const;
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
};

} // namespace posixcomm
