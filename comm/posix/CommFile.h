#pragma once

#include "comm/posix/CommState.h"
#include "comm/posix/InputFilter.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace posixcomm {

// "COM1".."COM256" name /dev/ttyS0..ttyS255; a name containing '/' is a device path as given;
// any other name is looked for under /dev/ ("ttyUSB0").
std::string DevicePathForName(const std::string& name);

// Errors by which a device says it lacks a feature (ptys have no modem lines or counters).
inline bool IsUnsupported(int err) {
    return err == ENOTTY || err == EINVAL;
}

// Line-event counters of a UART (TIOCGICOUNT).
struct LineCounters {
    std::uint32_t rng = 0, dcd = 0, frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
};

// An open serial port: the descriptor, held exclusively, plus the settings the kernel does not
// keep (time-outs, software input options). One CommFile is shared by the UI thread and the two
// port threads; every member is safe to call from any of them. It is destroyed only after both
// threads have been joined, because closing a descriptor another thread polls can stall.
class CommFile {
public:
    // Opens non-blocking and exclusively (TIOCEXCL, which root may ignore, and flock, which a
    // second opening by this or any cooperating program cannot). Null on failure, errno set.
    static std::unique_ptr<CommFile> Create(const std::string& path);
    // The errno of this thread's last failed Create, kept apart from errno so that the
    // reason survives whatever the caller does before it asks.
    static int LastCreateError();
    ~CommFile();
    CommFile(const CommFile&) = delete;
    CommFile& operator=(const CommFile&) = delete;

    int Fd() const { return fd_; }
    // True for a terminal device; anything else (a regular file, /dev/null) is no port.
    bool IsCharacterDevice() const;

    void PurgeInput();
    void PurgeOutput();

    // A state the kernel refuses is not applied: the previous state stays in force (put
    // back when the refusal came half-way) and the result is false.
    bool GetCommState(CommState& dcb) const;
    bool SetCommState(const CommState& dcb);
    bool GetCommTimeouts(CommTimeouts& timeouts) const;
    bool SetCommTimeouts(const CommTimeouts& timeouts);
    InputOptions GetInputOptions() const;

    // TIOCMGET as MS_* bits; false when the query fails or the device has no modem lines.
    bool GetCommModemStatus(std::uint32_t& status) const;
    // 0 on success, else the errno (ENOTTY or EINVAL: the device has no counters, e.g. a pty).
    int GetLineCounters(LineCounters& counters) const;

    // read()/write() retried on EINTR; -1 with errno set on failure.
    ssize_t Read(char* buffer, std::size_t size) const;
    ssize_t Write(const char* data, std::size_t size) const;

private:
    explicit CommFile(int fd) : fd_(fd) {}
    void setModemLine(int line, bool on);

    int fd_;
    mutable std::mutex mutex_;
    CommState dcb_;
    CommTimeouts timeouts_;
    InputOptions input_;
};

} // namespace posixcomm
