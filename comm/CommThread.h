#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A thread created suspended, like the port threads: it exists (so creation failures show at
// creation) but runs its body only after Resume(). Destroying it joins it; a thread that was
// never resumed is let go without running its body.
class TCommThread {
public:
    // Throws std::system_error when the thread cannot be created.
    TCommThread(std::function<void()> body, int priorityStep);
    ~TCommThread();
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;

    void Resume();
    // True once the body has returned. A thread still suspended is cancelled at once.
    bool WaitFor(unsigned milliseconds);

private:
    void run();

    std::function<void()> body_;
    int priorityStep_;
    std::mutex mutex_;
    std::condition_variable changed_;
    enum class State { Suspended, Running, Cancelled, Finished } state_ = State::Suspended;
    std::thread thread_; // last: started once everything above exists
};
