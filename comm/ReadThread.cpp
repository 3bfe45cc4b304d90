#include "comm/ReadThread.h"

#include "comm/CommMessages.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <poll.h>

namespace {

// Line-event counters cannot be waited on without blocking the thread, so they are sampled.
constexpr auto LineCheckPeriod = std::chrono::milliseconds(50);
// The highest thread priority: two steps above normal.
constexpr int ReaderPriorityStep = 2;
// No Modbus RTU frame is longer; a stream without pauses beyond it is no single frame.
constexpr std::size_t LongestFrame = 256;

} // namespace

TReadThread::TReadThread()
    : Thread(std::make_unique<TCommThread>([this] { Execute(); }, ReaderPriorityStep)) {}

TReadThread::~TReadThread() {
    Thread.reset();
}

void TReadThread::Execute() {
    if (!InFlight->Create())
        PostHangupCall();
    else if (SetupCommEvent() && SetupReadEvent()) {
        for (;;) {
            if (InFlight->Full() && !WaitForRoom())
                break;
            pollfd fds[2] = {{hCloseEvent->Fd(), POLLIN, 0}, {hCommFile->Fd(), POLLIN, 0}};
            const int rc = ::poll(fds, 2, NextTimeout(Clock::now()));
            if (rc < 0) {
                if (errno == EINTR)
                    continue;
                PostHangupCall();
                break;
            }
            // The stop event comes first: it wins over anything else that is ready.
            if (fds[0].revents)
                break;
            if (fds[1].revents & POLLNVAL)
                break;
            if (fds[1].revents && !HandleReadEvent(fds[1].revents))
                break;
            const Clock::time_point now = Clock::now();
            if (Count > 0) {
                const bool intervalOver =
                    Timeouts.ReadIntervalTimeout != 0 &&
                    now - LastByte >= std::chrono::milliseconds(Timeouts.ReadIntervalTimeout);
                const bool totalOver = TotalTimeout().count() != 0 && now - ReadStarted >= TotalTimeout();
                if ((intervalOver || totalOver) && !CompleteRead())
                    break;
            }
            if (LineEventsSupported && now >= NextLineCheck && (!HandleCommEvent() || !SetupCommEvent()))
                break;
        }
    }
    hCommFile->PurgeInput();
}

// Waits, without reading, until the window has taken some of the blocks waiting for it;
// false when the port is being stopped.
bool TReadThread::WaitForRoom() {
    posixcomm::Event& room = InFlight->RoomEvent();
    for (;;) {
        room.Reset();
        if (!InFlight->Full())
            return true;
        pollfd fds[2] = {{hCloseEvent->Fd(), POLLIN, 0}, {room.Fd(), POLLIN, 0}};
        const int rc = ::poll(fds, 2, -1);
        if (rc < 0 && errno != EINTR) {
            PostHangupCall();
            return false;
        }
        if (rc > 0 && fds[0].revents)
            return false;
    }
}

bool TReadThread::SetupReadEvent() {
    if (hCloseEvent->IsSet())
        return false;
    Count = 0;
    ReadStarted = LastByte = Clock::now();
    hCommFile->GetCommTimeouts(Timeouts);
    return true;
}

// The total time a read of the whole buffer may take; 0 when not used.
std::chrono::milliseconds TReadThread::TotalTimeout() const {
    const std::uint64_t total = std::uint64_t(Timeouts.ReadTotalTimeoutMultiplier) * ReadBufferSize +
                                Timeouts.ReadTotalTimeoutConstant;
    return std::chrono::milliseconds(static_cast<std::int64_t>(total));
}

int TReadThread::NextTimeout(Clock::time_point now) const {
    using namespace std::chrono;
    Clock::time_point due = Clock::time_point::max();
    if (Count > 0) {
        if (Timeouts.ReadIntervalTimeout != 0 && Timeouts.ReadIntervalTimeout != posixcomm::MAXDWORD)
            due = std::min(due, LastByte + milliseconds(Timeouts.ReadIntervalTimeout));
        if (TotalTimeout().count() != 0)
            due = std::min(due, ReadStarted + TotalTimeout());
    }
    if (LineEventsSupported)
        due = std::min(due, NextLineCheck);
    if (due == Clock::time_point::max())
        return -1;
    if (due <= now)
        return 0;
    // Round up: waking a little early would only cost another poll().
    return static_cast<int>(std::min<std::int64_t>(ceil<milliseconds>(due - now).count(), 60'000));
}

// Frames are separated by 3.5 character times (of 11 bits), at least 1.75 ms at fast rates.
void TReadThread::UpdateFrameGap(Clock::time_point now) {
    if (now < NextFrameGapCheck)
        return;
    NextFrameGapCheck = now + std::chrono::milliseconds(250);
    posixcomm::CommState state;
    if (hCommFile->GetCommState(state) && state.BaudRate > 0)
        FrameGap = std::max<Clock::duration>(std::chrono::microseconds(1750),
                                             std::chrono::microseconds(38'500'000 / state.BaudRate));
}

bool TReadThread::DeliveryDue(Clock::time_point now) const {
    return Count > 0 && now - FirstByte >= DeliveryPeriod &&
           (now - LastByte >= FrameGap || Count >= LongestFrame);
}

bool TReadThread::HandleReadEvent(short revents) {
    // New bytes after a pause while the read has held bytes long enough: what it holds goes
    // first, the new bytes begin the next read.
    if (DeliveryDue(Clock::now()) && !CompleteRead())
        return false;
    if (Count == 0) {
        // The first byte of a read: time-outs changed while the line was idle apply to it, and
        // a read whose total time ran out empty is simply issued again rather than ending the
        // reader.
        hCommFile->GetCommTimeouts(Timeouts);
        if (TotalTimeout().count() != 0 && Clock::now() - ReadStarted >= TotalTimeout())
            ReadStarted = Clock::now();
    }
    const ssize_t n = hCommFile->Read(Buffer + Count, ReadBufferSize - Count);
    if (n > 0) {
        const std::size_t kept =
            Filter.Apply(hCommFile->GetInputOptions(), Buffer + Count, static_cast<std::size_t>(n));
        if (kept == 0)
            return true;
        if (Count == 0) {
            FirstByte = Clock::now();
            UpdateFrameGap(FirstByte);
        }
        Count += kept;
        LastByte = Clock::now();
        if (Count == ReadBufferSize || Timeouts.ReadIntervalTimeout == posixcomm::MAXDWORD)
            return CompleteRead();
        return true;
    }
    if (n < 0 && errno == EBADF)
        return false;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && !(revents & (POLLHUP | POLLERR)))
        return true;
    // Readable but nothing to read (0 bytes), or an I/O error: the device is gone. The bytes
    // already gathered are still delivered.
    if (Count > 0)
        HandleReadData(Buffer, Count);
    PostHangupCall();
    return false;
}

bool TReadThread::CompleteRead() {
    return HandleReadData(Buffer, Count) && SetupReadEvent();
}

bool TReadThread::HandleReadData(const char* buffer, std::size_t count) {
    if (count == 0)
        return false;
    std::unique_ptr<char[]> block;
    try {
        block.reset(new char[count + 1]);
    } catch (const std::bad_alloc&) {
        PostHangupCall();
        return false;
    }
    std::memcpy(block.get(), buffer, count);
    block[count] = '\0';
    ReceiveData(std::move(block), count);
    return true;
}

bool TReadThread::SetupCommEvent() {
    if (hCloseEvent->IsSet())
        return false;
    const int err = hCommFile->GetLineCounters(Counters);
    if (err == 0) {
        LineEventsSupported = true;
        NextLineCheck = Clock::now() + LineCheckPeriod;
        return true;
    }
    LineEventsSupported = false;
    if (posixcomm::IsUnsupported(err))
        return true;
    if (err != EBADF)
        PostHangupCall();
    return false;
}

bool TReadThread::HandleCommEvent() {
    posixcomm::LineCounters now;
    const int err = hCommFile->GetLineCounters(now);
    if (err != 0) {
        if (err != EBADF)
            PostHangupCall();
        return false;
    }
    std::uint32_t errors = 0;
    if (now.bufOverrun != Counters.bufOverrun)
        errors |= posixcomm::CE_RXOVER;
    if (now.overrun != Counters.overrun)
        errors |= posixcomm::CE_OVERRUN;
    if (now.parity != Counters.parity)
        errors |= posixcomm::CE_RXPARITY;
    if (now.frame != Counters.frame)
        errors |= posixcomm::CE_FRAME;
    if (now.brk != Counters.brk)
        errors |= posixcomm::CE_BREAK;
    if (errors != 0)
        ReceiveError(errors);

    std::uint32_t modemEvent = 0;
    if (now.dcd != Counters.dcd)
        modemEvent = MODEM_EVENT_RLSD;
    if (now.rng != Counters.rng)
        modemEvent |= MODEM_EVENT_RING;
    if (modemEvent != 0)
        ModemStateChange(modemEvent);
    return true;
}

void TReadThread::ReceiveData(std::unique_ptr<char[]> block, std::size_t count) {
    auto* message = new TCommMessage(UM_COMM_DATA, static_cast<std::uint32_t>(count), 0, std::move(block));
    InFlight->Add();
    message->InFlight = InFlight;
    PostCommMessage(hComm32Window, message);
}

void TReadThread::ReceiveError(std::uint32_t errors) {
    PostCommMessage(hComm32Window, new TCommMessage(UM_COMM_ERROR, 0, errors));
}

void TReadThread::ModemStateChange(std::uint32_t modemEvent) {
    PostCommMessage(hComm32Window, new TCommMessage(UM_COMM_MODEM, 0, modemEvent));
}

void TReadThread::PostHangupCall() {
    PostCommMessage(hComm32Window, new TCommMessage(UM_COMM_HANGUP, 0, 0));
}
