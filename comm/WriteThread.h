#pragma once

#include "comm/CommThread.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/Event.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

// Writes the blocks queued by TComm::WriteCommData, each one completely and in order, and tells
// the component when its queue has run dry. It never calls the component; it only posts.
class TWriteThread {
public:
    // Creates the thread suspended; throws std::system_error when it (or its queue's wake-up
    // event) cannot be created.
    TWriteThread();
    ~TWriteThread();

    // Set before Resume() and left alone while the thread runs.
    posixcomm::CommFile* hCommFile = nullptr;
    posixcomm::Event* hCloseEvent = nullptr;
    QObject* hComm32Window = nullptr;
    std::atomic<bool>* pFSendDataEmpty = nullptr;

    void Resume() { Thread->Resume(); }
    bool WaitFor(unsigned milliseconds) { return Thread->WaitFor(milliseconds); }

    // UM_WRITE_DATA: queues a block (count bytes, then NUL) and marks the send queue busy.
    // False, and the block released, once the thread has ended.
    bool PostWriteData(std::unique_ptr<char[]> block, std::uint32_t count);

private:
    struct WriteMessage {
        std::unique_ptr<char[]> Block;
        std::uint32_t Count = 0;
    };

    void Execute();
    bool PeekMessage(WriteMessage& message);
    bool WaitForMessage();
    bool WriteBlock(const char* block, std::uint32_t count);
    void PostHangupCall();

    // The queue and the empty flag change together under QueueLock, so SendDataEmpty is never
    // left True while a block waits, nor False after the last block was written.
    std::mutex QueueLock;
    std::deque<WriteMessage> Queue;
    bool Ended = false;
    posixcomm::Event QueueEvent;

    std::unique_ptr<TCommThread> Thread; // last: joined before the state above goes away
};
