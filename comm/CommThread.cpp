#include "comm/CommThread.h"

#include <chrono>
#include <sys/resource.h>
#include <unistd.h>

TCommThread::TCommThread(std::function<void()> body, int priorityStep)
    : body_(std::move(body)), priorityStep_(priorityStep), thread_([this] { run(); }) {}

TCommThread::~TCommThread() {
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::Suspended)
            state_ = State::Cancelled;
    }
    changed_.notify_all();
    thread_.join();
}

void TCommThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::Suspended)
            state_ = State::Running;
    }
    changed_.notify_all();
}

bool TCommThread::WaitFor(unsigned milliseconds) {
    std::unique_lock lock(mutex_);
    // A thread that never ran has nothing to finish: waiting for it would only sit out the
    // whole time limit.
    if (state_ == State::Suspended) {
        state_ = State::Cancelled;
        changed_.notify_all();
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return state_ == State::Finished || state_ == State::Cancelled; });
}

void TCommThread::run() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return state_ != State::Suspended; });
        if (state_ == State::Cancelled)
            return;
    }
    // A higher priority is a niceness below the process's. Raising it needs a privilege; without
    // it the thread simply runs at the normal priority.
    const pid_t tid = ::gettid();
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice - priorityStep_);

    body_();
    {
        std::lock_guard lock(mutex_);
        state_ = State::Finished;
    }
    changed_.notify_all();
}
