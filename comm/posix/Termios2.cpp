// The only file that sees the kernel's termios2: <asm/termbits.h> clashes with glibc's <termios.h>.
#include "comm/posix/LineState.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

namespace posixcomm {

static_assert(sizeof(LineState::cc) == sizeof(termios2::c_cc));

namespace {

termios2 toKernel(const LineState& s) {
    termios2 t{};
    t.c_iflag = s.iflag;
    t.c_oflag = s.oflag;
    t.c_cflag = s.cflag;
    t.c_lflag = s.lflag;
    t.c_line = s.line;
    std::memcpy(t.c_cc, s.cc, sizeof t.c_cc);
    t.c_ispeed = s.ispeed;
    t.c_ospeed = s.ospeed;
    return t;
}

LineState fromKernel(const termios2& t) {
    LineState s;
    s.iflag = t.c_iflag;
    s.oflag = t.c_oflag;
    s.cflag = t.c_cflag;
    s.lflag = t.c_lflag;
    s.line = t.c_line;
    std::memcpy(s.cc, t.c_cc, sizeof s.cc);
    s.ispeed = t.c_ispeed;
    s.ospeed = t.c_ospeed;
    return s;
}

void makeRaw(termios2& t) {
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK |
                   IGNPAR | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    // CLOCAL: losing the carrier must not hang up the port; carrier changes are reported as
    // line events instead.
    t.c_cflag |= CREAD | CLOCAL;
    // The port is non-blocking and driven by poll(); one byte is enough to make it readable.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

// Any rate: BOTHER makes the driver use the numeric speeds; input follows output.
void setRate(termios2& t, std::uint32_t baud) {
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
}

tcflag_t sizeBits(std::uint8_t byteSize) {
    switch (byteSize) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t parityBits(std::uint8_t parity) {
    switch (parity) {
    case ODDPARITY:
        return PARENB | PARODD;
    case EVENPARITY:
        return PARENB;
    case MARKPARITY:
        return PARENB | CMSPAR | PARODD;
    case SPACEPARITY:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

void setFraming(termios2& t, const CommState& dcb) {
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR);
    t.c_cflag |= sizeBits(dcb.ByteSize) | parityBits(dcb.Parity);

    // UARTs send 1.5 stop bits only with 5 data bits, and they do so when CSTOPB is set with
    // CS5. With more data bits 1.5 does not exist; 2 is the nearest the hardware has.
    if (dcb.StopBits == ONESTOPBIT)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;
}

void setFlowControl(termios2& t, const CommState& dcb) {
    // Linux's CRTSCTS covers both directions; DSR flow and DSR sensitivity have no counterpart.
    const std::uint32_t rts = dcb.Flags & fRtsControlMask;
    if ((dcb.Flags & fOutxCtsFlow) || rts == RTS_CONTROL_HANDSHAKE)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;

    if (dcb.Flags & fOutX)
        t.c_iflag |= IXON;
    if (dcb.Flags & fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
}

// The kernel marks a damaged byte as \377 \0 <byte> under PARMRK, and the reader turns that
// mark into the replacement character. Without replacement, INPCK alone makes the kernel
// deliver the damaged byte as NUL.
void setParityChecking(termios2& t, const CommState& dcb) {
    if (dcb.Flags & fParity) {
        t.c_iflag |= INPCK;
        if (dcb.Flags & fErrorChar)
            t.c_iflag |= PARMRK;
    }
}

} // namespace

bool GetLineState(int fd, LineState& state) {
    termios2 t{};
    int rc;
    do {
        rc = ioctl(fd, TCGETS2, &t);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0)
        return false;
    state = fromKernel(t);
    return true;
}

bool SetLineState(int fd, const LineState& state) {
    termios2 t = toKernel(state);
    int rc;
    do {
        rc = ioctl(fd, TCSETS2, &t);
    } while (rc < 0 && errno == EINTR);
    return rc == 0;
}

LineState BuildLineState(const LineState& current, const CommState& dcb) {
    termios2 t = toKernel(current);
    makeRaw(t);
    setRate(t, dcb.BaudRate);
    setFraming(t, dcb);
    setFlowControl(t, dcb);
    setParityChecking(t, dcb);
    return fromKernel(t);
}

void DecodeLineState(const LineState& state, CommState& dcb) {
    const termios2 t = toKernel(state);
    dcb.BaudRate = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.StopBits =
        (t.c_cflag & CSTOPB) ? ((t.c_cflag & CSIZE) == CS5 ? ONE5STOPBITS : TWOSTOPBITS) : ONESTOPBIT;
    dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    dcb.Flags = (dcb.Flags & ~(fOutxCtsFlow | fOutX | fInX | fParity)) | fBinary;
    if (t.c_cflag & CRTSCTS)
        dcb.Flags |= fOutxCtsFlow;
    if (t.c_iflag & IXON)
        dcb.Flags |= fOutX;
    if (t.c_iflag & IXOFF)
        dcb.Flags |= fInX;
    if (t.c_iflag & INPCK)
        dcb.Flags |= fParity;
}

} // namespace posixcomm
