#pragma once

#include "comm/CommThread.h"
#include "comm/InFlightBlocks.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/Event.h"
#include "comm/posix/InputFilter.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>

// Reads the port while it is open and posts every chunk of received bytes, line events and a
// hang-up to the component. It never calls the component; it only posts.
//
// A read ends when its buffer is full or by the port's time-outs (silence on the line), and
// also while data keep coming: once it has held bytes for DeliveryPeriod, the next bytes to
// arrive after a pause (or after more than the longest Modbus frame) start a new read, so a
// steady trickle reaches the window every few dozen milliseconds without cutting a frame that
// arrives in one piece.
class TReadThread {
public:
    static constexpr std::size_t ReadBufferSize = 2048;
    static constexpr std::chrono::milliseconds DeliveryPeriod{20};

    // Creates the thread suspended; throws std::system_error when it cannot be created.
    TReadThread();
    ~TReadThread();

    // Set before Resume() and left alone while the thread runs.
    posixcomm::CommFile* hCommFile = nullptr;
    posixcomm::Event* hCloseEvent = nullptr;
    QObject* hComm32Window = nullptr;

    void Resume() { Thread->Resume(); }
    bool WaitFor(unsigned milliseconds) { return Thread->WaitFor(milliseconds); }

private:
    using Clock = std::chrono::steady_clock;

    void Execute();
    bool SetupReadEvent();
    bool HandleReadEvent(short revents);
    bool CompleteRead();
    bool DeliveryDue(Clock::time_point now) const;
    void UpdateFrameGap(Clock::time_point now);
    bool HandleReadData(const char* buffer, std::size_t count);
    bool WaitForRoom();
    bool SetupCommEvent();
    bool HandleCommEvent();
    int NextTimeout(Clock::time_point now) const;
    std::chrono::milliseconds TotalTimeout() const;
    void ReceiveData(std::unique_ptr<char[]> block, std::size_t count);
    void ReceiveError(std::uint32_t errors);
    void ModemStateChange(std::uint32_t modemEvent);
    void PostHangupCall();

    // State of the read in progress: the bytes gathered so far and when the read started and
    // last received a byte (the total and interval time-outs count from these).
    char Buffer[ReadBufferSize + 1] = {};
    std::size_t Count = 0;
    Clock::time_point ReadStarted;
    Clock::time_point LastByte;
    Clock::time_point FirstByte;
    // The pause that separates two frames at the port's rate, refreshed now and then.
    Clock::duration FrameGap = std::chrono::microseconds(1750);
    Clock::time_point NextFrameGapCheck;
    posixcomm::CommTimeouts Timeouts;
    posixcomm::InputFilter Filter;

    // Line events: counters of the last look, and when to look again. Devices without counters
    // (ptys) raise no line events.
    bool LineEventsSupported = false;
    posixcomm::LineCounters Counters;
    Clock::time_point NextLineCheck;

    std::shared_ptr<InFlightBlocks> InFlight = std::make_shared<InFlightBlocks>();

    std::unique_ptr<TCommThread> Thread; // last: joined before the state above goes away
};
