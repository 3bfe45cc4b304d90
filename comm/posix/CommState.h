#pragma once

#include <cstdint>

// The line settings and time-outs in the shape the component thinks in (the classic DCB and
// COMMTIMEOUTS records of serial programming). CommFile translates them to termios2 and keeps
// the parts the kernel has no notion of.
namespace posixcomm {

enum : std::uint32_t {
    fBinary = 0x0001,
    fParity = 0x0002,
    fOutxCtsFlow = 0x0004,
    fOutxDsrFlow = 0x0008,
    fDtrControlMask = 0x0030,
    fDsrSensitivity = 0x0040,
    fTXContinueOnXoff = 0x0080,
    fOutX = 0x0100,
    fInX = 0x0200,
    fErrorChar = 0x0400,
    fNull = 0x0800,
    fRtsControlMask = 0x3000,
    fAbortOnError = 0x4000,
};

enum : std::uint32_t {
    DTR_CONTROL_DISABLE = 0x0000,
    DTR_CONTROL_ENABLE = 0x0010,
    DTR_CONTROL_HANDSHAKE = 0x0020,
    RTS_CONTROL_DISABLE = 0x0000,
    RTS_CONTROL_ENABLE = 0x1000,
    RTS_CONTROL_HANDSHAKE = 0x2000,
    RTS_CONTROL_TOGGLE = 0x3000,
};

enum : std::uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
enum : std::uint8_t { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };

struct CommState {
    std::uint32_t BaudRate = 9600;
    std::uint32_t Flags = fBinary;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = NOPARITY;
    std::uint8_t StopBits = ONESTOPBIT;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
};

// MAXDWORD in ReadIntervalTimeout means "complete each read as soon as bytes are there".
inline constexpr std::uint32_t MAXDWORD = 0xFFFFFFFFu;

struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

// Line events the reader watches, and the error flags it reports with them.
enum : std::uint32_t { EV_RLSD = 0x0020, EV_ERR = 0x0080, EV_RING = 0x0100 };
enum : std::uint32_t {
    CE_RXOVER = 0x0001,
    CE_OVERRUN = 0x0002,
    CE_RXPARITY = 0x0004,
    CE_FRAME = 0x0008,
    CE_BREAK = 0x0010
};
enum : std::uint32_t { MS_CTS_ON = 0x0010, MS_DSR_ON = 0x0020, MS_RING_ON = 0x0040, MS_RLSD_ON = 0x0080 };

} // namespace posixcomm
