#pragma once

#include "comm/InFlightBlocks.h"

#include <QCoreApplication>
#include <QEvent>

#include <cstdint>
#include <memory>
#include <mutex>

// The notifications the port threads post to TComm. The numbers are those of the protocol;
// UM_WRITE_DATA shares 1025 with UM_COMM_DATA but travels on the writer's own queue.
enum : int {
    WM_USER = 1024,
    UM_WRITE_DATA = WM_USER + 1,
    UM_COMM_DATA = WM_USER + 1,
    UM_COMM_ERROR = WM_USER + 2,
    UM_COMM_HANGUP = WM_USER + 3,
    UM_COMM_MODEM = WM_USER + 4,
    UM_COMM_SENT = WM_USER + 5,
};

// Every kind of event the port threads post to TComm.
inline constexpr int CommMessageTypes[] = {UM_COMM_DATA, UM_COMM_ERROR, UM_COMM_HANGUP, UM_COMM_MODEM,
                                           UM_COMM_SENT};

enum : std::uint32_t { MODEM_EVENT_RING = 4, MODEM_EVENT_RLSD = 8 };

// One posted notification. A data block (count bytes, then NUL) belongs to the message and is
// released with it, so a message dropped anywhere on the way cannot leak its buffer.
class TCommMessage : public QEvent {
public:
    TCommMessage(int message, std::uint32_t wParam, std::uint32_t lParam, std::unique_ptr<char[]> block = {})
        : QEvent(static_cast<QEvent::Type>(message)), WParam(wParam), LParam(lParam),
          Block(std::move(block)) {}

    ~TCommMessage() override {
        if (InFlight)
            InFlight->Release();
    }

    std::uint32_t WParam;
    std::uint32_t LParam;
    std::unique_ptr<char[]> Block;
    // Counts the block as waiting for the window until the message is gone, handled or not.
    std::shared_ptr<InFlightBlocks> InFlight;
};

#if defined(__SANITIZE_THREAD__)
#define TV_COMM_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TV_COMM_TSAN 1
#endif
#endif
#ifdef TV_COMM_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

// Qt passes events between threads under its own futex-based locks, which ThreadSanitizer cannot
// see. Posting announces the hand-over of the message (and its block) to it, and TComm's event
// handler takes it over with CommMessageArrived(); outside ThreadSanitizer both are plain posts.
// The reader and the writer may post at the same moment: Qt grows its queue under that invisible
// lock, so under ThreadSanitizer the posts also go one at a time under a lock it does see.
inline void PostCommMessage(QObject* window, TCommMessage* message) {
#ifdef TV_COMM_TSAN
    static std::mutex postLock;
    std::lock_guard lock(postLock);
    __tsan_release(window);
#endif
    QCoreApplication::postEvent(window, message);
}

inline void CommMessageArrived([[maybe_unused]] QObject* window) {
#ifdef TV_COMM_TSAN
    __tsan_acquire(window);
#endif
}
