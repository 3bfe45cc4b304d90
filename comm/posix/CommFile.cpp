#include "comm/posix/CommFile.h"

#include "comm/posix/LineState.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace posixcomm {

namespace {

template <typename F> int retryEintr(F f) {
    int rc;
    do {
        rc = f();
    } while (rc < 0 && errno == EINTR);
    return rc;
}

thread_local int lastCreateError = 0;

// Closes fd (when open), records errno as the reason of the failed Create and gives null.
std::unique_ptr<CommFile> createFailed(int fd) {
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    lastCreateError = err;
    errno = err;
    return nullptr;
}

} // namespace

int CommFile::LastCreateError() {
    return lastCreateError;
}

std::string DevicePathForName(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0) {
        unsigned number = 0;
        const char* first = name.data() + 3;
        const char* last = name.data() + name.size();
        auto [end, ec] = std::from_chars(first, last, number);
        if (ec == std::errc() && end == last && *first != '0' && number >= 1 && number <= 256)
            return "/dev/ttyS" + std::to_string(number - 1);
    }
    return "/dev/" + name;
}

std::unique_ptr<CommFile> CommFile::Create(const std::string& path) {
    int fd = retryEintr([&] { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (fd < 0)
        return createFailed(-1);
    // Keep the port off 0..2 so that a descriptor number can never be mistaken for "closed".
    if (fd < 3) {
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (moved < 0)
            return createFailed(fd);
        ::close(fd);
        fd = moved;
    }
    if (::isatty(fd) && ::ioctl(fd, TIOCEXCL) < 0)
        return createFailed(fd);
    if (retryEintr([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) < 0) {
        const int err = errno;
        if (::isatty(fd))
            ::ioctl(fd, TIOCNXCL);
        errno = err;
        return createFailed(fd);
    }
    lastCreateError = 0;
    return std::unique_ptr<CommFile>(new CommFile(fd));
}

CommFile::~CommFile() {
    if (::isatty(fd_)) {
        // Unsent output would make close() wait for the kernel's drain time-out.
        ::tcflush(fd_, TCOFLUSH);
        ::ioctl(fd_, TIOCNXCL);
    }
    ::close(fd_);
}

bool CommFile::IsCharacterDevice() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 && S_ISCHR(st.st_mode) && ::isatty(fd_);
}

void CommFile::PurgeInput() {
    ::tcflush(fd_, TCIFLUSH);
}
void CommFile::PurgeOutput() {
    ::tcflush(fd_, TCOFLUSH);
}

bool CommFile::GetCommState(CommState& dcb) const {
    LineState line;
    if (!GetLineState(fd_, line))
        return false;
    std::lock_guard lock(mutex_);
    dcb = dcb_;
    DecodeLineState(line, dcb);
    return true;
}

bool CommFile::SetCommState(const CommState& dcb) {
    // A zero rate would hang up the line (B0 drops DTR); the others have no encoding.
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS)
        return false;
    LineState current;
    if (!GetLineState(fd_, current))
        return false;
    if (!SwitchLineState(current, BuildLineState(current, dcb),
                         [this](const LineState& state) { return SetLineState(fd_, state); }))
        return false;

    const std::uint32_t dtr = dcb.Flags & fDtrControlMask;
    setModemLine(TIOCM_DTR, dtr != DTR_CONTROL_DISABLE);
    const std::uint32_t rts = dcb.Flags & fRtsControlMask;
    if (rts != RTS_CONTROL_HANDSHAKE)
        setModemLine(TIOCM_RTS, rts != RTS_CONTROL_DISABLE);

    std::lock_guard lock(mutex_);
    dcb_ = dcb;
    input_.ignoreNull = (dcb.Flags & fNull) != 0;
    input_.replaceMarked = (dcb.Flags & fParity) && (dcb.Flags & fErrorChar);
    input_.replacement = dcb.ErrorChar;
    return true;
}

void CommFile::setModemLine(int line, bool on) {
    // Devices without modem lines (ptys) answer ENOTTY; that is not an error of the port.
    retryEintr([&] { return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line); });
}

bool CommFile::GetCommTimeouts(CommTimeouts& timeouts) const {
    std::lock_guard lock(mutex_);
    timeouts = timeouts_;
    return true;
}

bool CommFile::SetCommTimeouts(const CommTimeouts& timeouts) {
    std::lock_guard lock(mutex_);
    timeouts_ = timeouts;
    return true;
}

InputOptions CommFile::GetInputOptions() const {
    std::lock_guard lock(mutex_);
    return input_;
}

bool CommFile::GetCommModemStatus(std::uint32_t& status) const {
    int bits = 0;
    if (retryEintr([&] { return ::ioctl(fd_, TIOCMGET, &bits); }) < 0)
        return false;
    status = 0;
    if (bits & TIOCM_CTS)
        status |= MS_CTS_ON;
    if (bits & TIOCM_DSR)
        status |= MS_DSR_ON;
    if (bits & TIOCM_RNG)
        status |= MS_RING_ON;
    if (bits & TIOCM_CAR)
        status |= MS_RLSD_ON;
    return true;
}

int CommFile::GetLineCounters(LineCounters& counters) const {
    serial_icounter_struct ic{};
    if (retryEintr([&] { return ::ioctl(fd_, TIOCGICOUNT, &ic); }) < 0)
        return errno;
    counters.rng = static_cast<std::uint32_t>(ic.rng);
    counters.dcd = static_cast<std::uint32_t>(ic.dcd);
    counters.frame = static_cast<std::uint32_t>(ic.frame);
    counters.overrun = static_cast<std::uint32_t>(ic.overrun);
    counters.parity = static_cast<std::uint32_t>(ic.parity);
    counters.brk = static_cast<std::uint32_t>(ic.brk);
    counters.bufOverrun = static_cast<std::uint32_t>(ic.buf_overrun);
    return 0;
}

ssize_t CommFile::Read(char* buffer, std::size_t size) const {
    ssize_t n;
    do {
        n = ::read(fd_, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

ssize_t CommFile::Write(const char* data, std::size_t size) const {
    ssize_t n;
    do {
        n = ::write(fd_, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

} // namespace posixcomm
