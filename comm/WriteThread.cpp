#include "comm/WriteThread.h"

#include "comm/CommMessages.h"

#include <QCoreApplication>

#include <cerrno>
#include <poll.h>
#include <system_error>

namespace {

// Above normal: one step below the reader, so reception is never starved by sending.
constexpr int WriterPriorityStep = 1;

} // namespace

TWriteThread::TWriteThread() {
    if (!QueueEvent.Create())
        throw std::system_error(errno, std::generic_category(), "eventfd");
    Thread = std::make_unique<TCommThread>([this] { Execute(); }, WriterPriorityStep);
}

TWriteThread::~TWriteThread() {
    Thread.reset();
}

bool TWriteThread::PostWriteData(std::unique_ptr<char[]> block, std::uint32_t count) {
    {
        std::lock_guard lock(QueueLock);
        if (Ended)
            return false;
        Queue.push_back({std::move(block), count});
        pFSendDataEmpty->store(false);
    }
    QueueEvent.Set();
    return true;
}

void TWriteThread::Execute() {
    bool notify = true;
    for (;;) {
        WriteMessage message;
        if (!PeekMessage(message)) {
            if (notify)
                PostCommMessage(hComm32Window, new TCommMessage(UM_COMM_SENT, 0, 0));
            notify = false;
            if (!WaitForMessage())
                break;
            continue;
        }
        if (hCloseEvent->IsSet())
            break;
        if (!WriteBlock(message.Block.get(), message.Count))
            break;
        notify = true;
    }
    {
        // Blocks nobody will write any more are released here, and later posts are refused.
        std::lock_guard lock(QueueLock);
        Ended = true;
        Queue.clear();
    }
    hCommFile->PurgeOutput();
    pFSendDataEmpty->store(true);
}

bool TWriteThread::PeekMessage(WriteMessage& message) {
    std::lock_guard lock(QueueLock);
    if (Queue.empty()) {
        pFSendDataEmpty->store(true);
        return false;
    }
    message = std::move(Queue.front());
    Queue.pop_front();
    return true;
}

// Waits for the stop event or a new block. False when the thread is to end.
bool TWriteThread::WaitForMessage() {
    for (;;) {
        pollfd fds[2] = {{hCloseEvent->Fd(), POLLIN, 0}, {QueueEvent.Fd(), POLLIN, 0}};
        const int rc = ::poll(fds, 2, -1);
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            PostHangupCall();
            return false;
        }
        if (fds[0].revents)
            return false;
        // Reset before looking at the queue: a block posted after this wakes the next wait.
        QueueEvent.Reset();
        return true;
    }
}

bool TWriteThread::WriteBlock(const char* block, std::uint32_t count) {
    std::uint32_t offset = 0;
    bool lineBroken = false;
    while (offset < count) {
        const ssize_t written = hCommFile->Write(block + offset, count - offset);
        if (written > 0) {
            offset += static_cast<std::uint32_t>(written);
            lineBroken = false;
            continue;
        }
        if (written < 0 && errno == EBADF)
            return false;
        if (lineBroken || (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
            PostHangupCall();
            return false;
        }
        // The kernel's buffer is full: wait until it takes more, or until we are stopped.
        pollfd fds[2] = {{hCloseEvent->Fd(), POLLIN, 0}, {hCommFile->Fd(), POLLOUT, 0}};
        const int rc = ::poll(fds, 2, -1);
        if (rc < 0 && errno != EINTR) {
            PostHangupCall();
            return false;
        }
        if (fds[0].revents)
            return false;
        if (fds[1].revents & POLLNVAL)
            return false;
        // POLLHUP or POLLERR: the next write() should report the error; if it does not, the
        // line is given up rather than polled in a busy loop.
        lineBroken = (fds[1].revents & (POLLHUP | POLLERR)) != 0;
    }
    return true;
}

void TWriteThread::PostHangupCall() {
    PostCommMessage(hComm32Window, new TCommMessage(UM_COMM_HANGUP, 0, 0));
}
