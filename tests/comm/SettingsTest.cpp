#include "CommTestSupport.h"

#include "comm/posix/CommFile.h"
#include "comm/posix/InputFilter.h"
#include "comm/posix/LineState.h"

#include <termios.h>

using namespace commtest;
using posixcomm::CommState;
using posixcomm::LineState;

namespace {

// The kernel's "other baud rate" code; glibc does not name it.
constexpr std::uint32_t KernelBOTHER = 0010000;

// The parity bits a pty keeps as set. Its driver clears PARENB (and makes the size CS8)
// whatever it is given, so even parity looks like none there and only PARODD and CMSPAR tell
// the parities apart.
constexpr std::uint32_t PtyParityBits = PARODD | CMSPAR;

// A terminal as a shell leaves it: cooked, echoing, translating, at 38400.
LineState CookedLine() {
    LineState s;
    s.iflag = ICRNL | IXON | IXANY | IMAXBEL | BRKINT;
    s.oflag = OPOST | ONLCR;
    s.cflag = B38400 | CS7 | PARENB | CREAD | HUPCL;
    s.lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    s.ispeed = s.ospeed = 38400;
    return s;
}

CommState Dcb(std::uint32_t baud, std::uint8_t bits, std::uint8_t parity, std::uint8_t stop,
              std::uint32_t flags = 0) {
    CommState d;
    d.BaudRate = baud;
    d.ByteSize = bits;
    d.Parity = parity;
    d.StopBits = stop;
    d.Flags = posixcomm::fBinary | flags;
    return d;
}

} // namespace

TEST(BuildLineState, FramingAndRateAreEncodedForAnyRate) {
    struct Row {
        CommState dcb;
        std::uint32_t cflagBits; // CSIZE, parity and stop bits expected
    };
    using namespace posixcomm;
    const Row rows[] = {
        {Dcb(9600, 8, NOPARITY, ONESTOPBIT), CS8},
        {Dcb(14400, 7, EVENPARITY, ONESTOPBIT), CS7 | PARENB},
        {Dcb(43000, 6, ODDPARITY, TWOSTOPBITS), CS6 | PARENB | PARODD | CSTOPB},
        {Dcb(56000, 8, MARKPARITY, ONESTOPBIT), CS8 | PARENB | PARODD | CMSPAR},
        {Dcb(128000, 8, SPACEPARITY, ONESTOPBIT), CS8 | PARENB | CMSPAR},
        {Dcb(256000, 5, NOPARITY, ONE5STOPBITS), CS5 | CSTOPB},
        // No 1.5 stop bits beyond 5 data bits: 2 is the nearest.
        {Dcb(115200, 8, NOPARITY, ONE5STOPBITS), CS8 | CSTOPB},
    };
    for (const Row& row : rows) {
        const LineState s = BuildLineState(CookedLine(), row.dcb);
        SCOPED_TRACE(row.dcb.BaudRate);
        EXPECT_EQ(s.cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), row.cflagBits);
        EXPECT_EQ(s.cflag & CBAUD, KernelBOTHER);
        EXPECT_EQ(s.ospeed, row.dcb.BaudRate);
        EXPECT_EQ(s.ispeed, row.dcb.BaudRate);
        // Raw: nothing of the cooked terminal may alter or swallow bytes.
        EXPECT_EQ(s.lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(s.oflag & OPOST, 0u);
        EXPECT_EQ(s.iflag & (ICRNL | IXANY | IXON | IXOFF | INPCK), 0u);
        EXPECT_EQ(s.cflag & (CREAD | CLOCAL), CREAD | CLOCAL);
        EXPECT_EQ(s.cc[VMIN], 1);

        CommState back;
        DecodeLineState(s, back);
        EXPECT_EQ(back.BaudRate, row.dcb.BaudRate);
        EXPECT_EQ(back.ByteSize, row.dcb.ByteSize);
        EXPECT_EQ(back.Parity, row.dcb.Parity);
    }
}

TEST(BuildLineState, FlowControlAndParityChecking) {
    using namespace posixcomm;
    CommState xon = Dcb(9600, 8, NOPARITY, ONESTOPBIT, fOutX | fInX);
    xon.XonChar = 'Q';
    xon.XoffChar = 'S';
    LineState s = BuildLineState(CookedLine(), xon);
    EXPECT_EQ(s.iflag & (IXON | IXOFF), IXON | IXOFF);
    EXPECT_EQ(s.cc[VSTART], 'Q');
    EXPECT_EQ(s.cc[VSTOP], 'S');
    EXPECT_EQ(s.cflag & CRTSCTS, 0u);

    EXPECT_EQ(BuildLineState(CookedLine(), Dcb(9600, 8, 0, 0, fOutxCtsFlow)).cflag & CRTSCTS, CRTSCTS);
    EXPECT_EQ(BuildLineState(CookedLine(), Dcb(9600, 8, 0, 0, RTS_CONTROL_HANDSHAKE)).cflag & CRTSCTS,
              CRTSCTS);
    EXPECT_EQ(BuildLineState(CookedLine(), Dcb(9600, 8, 0, 0, RTS_CONTROL_TOGGLE)).cflag & CRTSCTS, 0u);

    EXPECT_EQ(BuildLineState(CookedLine(), Dcb(9600, 8, 2, 0, fParity)).iflag & (INPCK | PARMRK), INPCK);
    EXPECT_EQ(BuildLineState(CookedLine(), Dcb(9600, 8, 2, 0, fParity | fErrorChar)).iflag & (INPCK | PARMRK),
              INPCK | PARMRK);
}

TEST(InputFilter, DropsNulsAndReplacesParityMarksAcrossReads) {
    posixcomm::InputOptions nulls{true, false, 0};
    posixcomm::InputFilter f;
    std::string a("a\0b\0\0c", 6);
    a.resize(f.Apply(nulls, a.data(), a.size()));
    EXPECT_EQ(a, "abc");

    // \377 \0 x marks a damaged byte, \377 \377 is a real \377, \377 \0 \0 a break.
    posixcomm::InputOptions marks{false, true, '?'};
    std::string whole("A\377\0xB\377\377C\377\0\0D", 12);
    posixcomm::InputFilter g;
    whole.resize(g.Apply(marks, whole.data(), whole.size()));
    EXPECT_EQ(whole, "A?B\377CD");

    // The same stream cut inside each mark.
    posixcomm::InputFilter h;
    std::string out;
    for (std::string piece : {std::string("A\377"), std::string("\0", 1), std::string("xB\377"),
                              std::string("\377C\377\0", 4), std::string("\0D", 2)}) {
        piece.resize(h.Apply(marks, piece.data(), piece.size()));
        out += piece;
    }
    EXPECT_EQ(out, "A?B\377CD");
}

class SettingsTest : public CommTest {
protected:
    LineState Line() const {
        LineState s;
        EXPECT_TRUE(posixcomm::GetLineState(pty.Slave(), s));
        return s;
    }
    // Changes the line behind the component's back, so that a later look shows whether the
    // component touched it.
    void Tamper(std::uint32_t baud) {
        LineState s = Line();
        s.ispeed = s.ospeed = baud;
        ASSERT_TRUE(posixcomm::SetLineState(pty.Slave(), s));
        ASSERT_EQ(Line().ospeed, baud);
    }

    PtyPair pty;
    TComm comm;
};

TEST_F(SettingsTest, OpeningAppliesTheSettingsToTheDevice) {
    comm.SetBaudRate(43000);
    comm.SetXonChar('Q');
    comm.SetXoffChar('S');
    comm.SetCommName(pty.QPath());
    ASSERT_EQ(comm.StartComm(), QString());
    const LineState s = Line();
    EXPECT_EQ(s.ospeed, 43000u);
    EXPECT_EQ(s.iflag & (IXON | IXOFF), IXON | IXOFF);
    EXPECT_EQ(s.cc[VSTART], 'Q');
    EXPECT_EQ(s.cc[VSTOP], 'S');
    EXPECT_EQ(s.lflag & (ICANON | ECHO), 0u);
}

TEST_F(SettingsTest, SettersReapplyOnlyRealChangesAndParityWaits) {
    comm.SetCommName(pty.QPath());
    ASSERT_EQ(comm.StartComm(), QString());
    Tamper(1234);

    // Same values, a stored-only property and the time-outs leave the line alone.
    comm.SetBaudRate(9600);
    comm.SetXonLimit(500);
    comm.SetDtrControl(TDtrControl::DtrEnable);
    comm.SetParity(TParity::Mark); // of all parities, the one whose bits a pty shows
    comm.SetReadIntervalTimeout(50);
    comm.SetCommName(QStringLiteral("COM7"));
    EXPECT_EQ(Line().ospeed, 1234u);
    EXPECT_EQ(Line().cflag & PtyParityBits, 0u);
    EXPECT_EQ(comm.Parity(), TParity::Mark);

    // A real change re-applies everything, the waiting parity included.
    comm.SetStopBits(TStopBits::_2);
    const LineState s = Line();
    EXPECT_EQ(s.ospeed, 9600u);
    EXPECT_TRUE(s.cflag & CSTOPB);
    EXPECT_EQ(s.cflag & PtyParityBits, PARODD | CMSPAR);

    Tamper(1234);
    comm.SetBaudRate(19200);
    EXPECT_EQ(Line().ospeed, 19200u);

    // Closed: setters only store.
    comm.StopComm();
    Tamper(1234);
    comm.SetBaudRate(57600);
    EXPECT_EQ(Line().ospeed, 1234u);
}

// Each parity waits for the next real change and then reaches the line. The order makes every
// step change the bits a pty shows, so none can pass by keeping the previous parity.
TEST_F(SettingsTest, EachParityReachesTheLineWithTheNextRealChange) {
    struct Row {
        TParity parity;
        std::uint32_t cflagBits; // as BuildLineState sets them; a pty keeps all but PARENB
    };
    const Row rows[] = {{TParity::Mark, PARENB | PARODD | CMSPAR},
                        {TParity::Even, PARENB},
                        {TParity::Odd, PARENB | PARODD},
                        {TParity::Space, PARENB | CMSPAR},
                        {TParity::None, 0}};
    comm.SetCommName(pty.QPath());
    ASSERT_EQ(comm.StartComm(), QString());
    std::uint32_t shown = Line().cflag & PtyParityBits;
    std::uint32_t rate = 9600;
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.parity));
        comm.SetParity(row.parity);
        EXPECT_EQ(Line().cflag & PtyParityBits, shown) << "applied before a real change";
        comm.SetBaudRate(rate += 100);
        shown = Line().cflag & PtyParityBits;
        EXPECT_EQ(shown, row.cflagBits & PtyParityBits);
    }
}

TEST_F(SettingsTest, ARefusedStateLeavesThePreviousOneInForce) {
    comm.SetCommName(pty.QPath());
    comm.SetBaudRate(19200);
    ASSERT_EQ(comm.StartComm(), QString());
    // A zero rate would hang up the line; it is refused without a word.
    comm.SetBaudRate(0);
    EXPECT_EQ(Line().ospeed, 19200u);
    EXPECT_EQ(comm.BaudRate(), 0u);
    ASSERT_TRUE(comm.WriteCommData("ok", 2));
    EXPECT_EQ(pty.Receive(2), "ok");
}

TEST(SwitchLineStateTest, ARefusedStateIsReportedEvenWhenThePreviousOneGoesBack) {
    const LineState current = CookedLine();
    LineState wanted = current;
    wanted.ospeed = wanted.ispeed = 250000;
    std::vector<std::uint32_t> offered;
    auto refusesWanted = [&](const LineState& s) {
        offered.push_back(s.ospeed);
        errno = EINVAL;
        return s.ospeed == current.ospeed;
    };
    errno = 0;
    EXPECT_FALSE(posixcomm::SwitchLineState(current, wanted, refusesWanted));
    EXPECT_EQ(errno, EINVAL) << "the refusal's reason, not the restore's";
    EXPECT_EQ(offered, (std::vector<std::uint32_t>{250000, 38400})) << "the previous state is put back";

    offered.clear();
    EXPECT_FALSE(posixcomm::SwitchLineState(current, wanted, [&](const LineState& s) {
        offered.push_back(s.ospeed);
        return false;
    }));
    EXPECT_TRUE(posixcomm::SwitchLineState(current, wanted, [](const LineState&) { return true; }));
}
