// The health line beside automatic reading and the value labels, against a simulated device
// that answers Modbus wrongly in each of the ways a real bus does.

#include "DeviceLine.h"
#include "console/Connection.h"
#include "comm/SerialComm.h"
#include "console/AutoReading.h"
#include "console/PageBuilderFixture.h"
#include "console/PortReturnWatch.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "ui/FittedLinesLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Fault = SimulatedDevice::Setup::ModbusFault;

// One automatic-reading page: station 1, registers 0 and 1.
TestConfig healthConfig() {
    TestConfig config;
    config.autoRead =
        "<GROUP_AUTO><A caption=\"甲\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
        "<T0 caption=\"t0\" hint=\"h\" addr=\"0\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "<T1 caption=\"t1\" hint=\"h\" addr=\"1\" constA=\"0\" constM=\"1\" unit=\"u\"/>"
        "</A></GROUP_AUTO>";
    return config;
}

struct Polling : TestWindow {
    explicit Polling(const QString& language) : TestWindow(healthConfig()) {
        const QString error = build();
        if (!error.isEmpty())
            ADD_FAILURE() << error.toStdString();
        f.LanguageCode = language;
        f.connection->setLanguage(f.language());
        f.autoReading->setLanguage(Language::fromCode(language));
        f.autoReading->ticker()->stop(); // the test ticks by hand
    }
    ~Polling() { f.Comm1->StopComm(); }

    bool pollOnce(const DeviceLine& line) {
        f.cbb_Port->setCurrentText(line.portPath());
        f.btn_Connect->click();
        f.chb_AutoRead->setChecked(true);
        f.autoReading->tick();
        return f.Comm1->Handle() != 0;
    }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }

    TForm_Main& f = *form;
};

SimulatedDevice::Setup device(Fault fault) {
    SimulatedDevice::Setup setup;
    setup.blocks = {{1, 0, 2}};
    setup.modbusFault = fault;
    return setup;
}

TEST(ModbusHealthTest, EachWayOfAnsweringWronglyMovesItsOwnCounter) {
    struct Case {
        Fault fault;
        quint64 ModbusHealth::*counter;
        const char* shown; // in the health line
    };
    const Case cases[] = {
        {Fault::None, &ModbusHealth::good, "good 1"},
        {Fault::BadCrc, &ModbusHealth::badCrc, "CRC errors 1"},
        {Fault::WrongLength, &ModbusHealth::wrongLength, "wrong length or late 1"},
        {Fault::Exception, &ModbusHealth::exceptions, "Last exception: illegal data address"},
    };
    for (const Case& k : cases) {
        DeviceLine line(device(k.fault));
        Polling p(QStringLiteral("EN"));
        ASSERT_TRUE(p.pollOnce(line));
        EXPECT_TRUE(waitFor([&] { return p.f.Device->modbus().health().*k.counter == 1; })) << k.shown;
        EXPECT_TRUE(p.f.lbl_ModbusHealth->fullText().contains(QString::fromLatin1(k.shown)))
            << p.f.lbl_ModbusHealth->fullText().toStdString();
        EXPECT_TRUE(p.f.lbl_ModbusHealth->fullText().startsWith("Sent 1 ·"));
    }
}

// Each way a request can end is counted once, never also as a time-out, and the greyed
// values say which it was.
TEST(ModbusHealthTest, EachFaultEndsItsRequestOnceAndTheGreyedValuesNameIt) {
    struct Case {
        Fault fault;
        quint64 ModbusHealth::*counter;
        const char* reason; // the greyed values' tooltip starts with it
    };
    const Case cases[] = {
        {Fault::BadCrc, &ModbusHealth::badCrc, "The reply was damaged (CRC error)"},
        {Fault::WrongLength, &ModbusHealth::wrongLength, "The reply had the wrong length"},
        {Fault::Exception, &ModbusHealth::exceptions, "The device refused the request: illegal data address"},
        {Fault::Silent, &ModbusHealth::timedOut, "No reply within 0 ms"},
    };
    for (const Case& k : cases) {
        DeviceLine line(device(k.fault));
        Polling p(QStringLiteral("EN"));
        ASSERT_TRUE(p.pollOnce(line));
        if (k.fault == Fault::Silent) {
            ASSERT_TRUE(waitFor([&] { return line.wire().size() == 8; }));
            p.f.Device->modbus().setTimeoutMs(0);
            p.f.Device->feed(QByteArray("noise")); // anything arriving shows the time-out too
        }
        ASSERT_TRUE(waitFor([&] { return p.f.Device->modbus().health().*k.counter == 1; })) << k.reason;
        // Long after the time-out, the request still has its one outcome.
        p.f.Device->modbus().setTimeoutMs(0);
        p.f.Device->modbus().canSend(MonotonicMs() + 1000);
        const ModbusHealth& h = p.f.Device->modbus().health();
        EXPECT_EQ(h.sent, 1u) << k.reason;
        EXPECT_EQ(h.ended(), 1u) << k.reason;
        EXPECT_EQ(h.*k.counter, 1u) << k.reason;
        for (const char* name : {"V0", "V1"}) {
            EXPECT_FALSE(p.label(name)->isEnabled()) << name << " " << k.reason;
            EXPECT_EQ(p.label(name)->toolTip(), QString::fromLatin1(k.reason) +
                                                    "; the value shown is older\nNo value has been read yet")
                << name;
        }
    }
}

// Closing the port, or losing the device while waiting for it to return, leaves nothing
// live: the values grey with the reason and the time they were last read.
TEST(ModbusHealthTest, ValuesGreyWhileThePortIsClosedOrTheDeviceIsAwaited) {
    for (const bool reconnect : {true, false}) {
        auto line = std::make_unique<DeviceLine>(device(Fault::None));
        Polling p(QStringLiteral("EN"));
        p.f.chk_Reconnect->setChecked(reconnect);
        ASSERT_TRUE(p.pollOnce(*line));
        ASSERT_TRUE(waitFor([&] { return p.f.Device->modbus().health().good == 1; }));
        ASSERT_TRUE(p.label("V0")->isEnabled());
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");

        if (reconnect) {
            line->vanish();
            ASSERT_TRUE(waitFor([&] { return p.f.connection->isAwaitingDevice(); }));
        } else {
            p.f.btn_Connect->click(); // closes
        }
        const QString reason = reconnect ? "Waiting for the device to return; the value shown is older"
                                         : "The port is closed; the value shown is older";
        for (const char* name : {"V0", "V1"}) {
            EXPECT_FALSE(p.label(name)->isEnabled()) << name;
            const QString tip = p.label(name)->toolTip();
            EXPECT_TRUE(tip.startsWith(reason + "\nLast good value: " + today)) << tip.toStdString();
        }
        // The reason follows the language; the scaling comes back with the next good value.
        p.f.autoReading->setLanguage(Language::chinese());
        EXPECT_TRUE(p.label("V0")->toolTip().contains("最近有效值：" + today))
            << p.label("V0")->toolTip().toStdString();
        p.f.Device->feed(ModbusReadReply(1, {3, 4})); // nobody asked: stays greyed
        EXPECT_FALSE(p.label("V0")->isEnabled());
        if (p.f.connection->isAwaitingDevice())
            p.f.btn_Connect->click(); // stops waiting
    }
}

TEST(ModbusHealthTest, ATimeOutOrAnExceptionGreysTheValuesWithTheReasonAndAGoodReplyRestoresThem) {
    DeviceLine silent(device(Fault::Silent));
    Polling p(QStringLiteral("CN"));
    ASSERT_TRUE(p.pollOnce(silent));
    ASSERT_TRUE(waitFor([&] { return silent.wire().size() == 8; }));
    p.f.Device->modbus().setTimeoutMs(0);
    p.f.autoReading->tick(); // notes the time-out, then asks again
    EXPECT_EQ(p.f.Device->modbus().health().timedOut, 1u);
    for (const char* name : {"V0", "V1"}) {
        EXPECT_FALSE(p.label(name)->isEnabled()) << name;
        EXPECT_EQ(p.label(name)->toolTip(), "0 ms 内无应答，显示的是之前的值\n尚未读到数值");
        EXPECT_EQ(p.label(name)->text(), "0.00") << "the last value stays";
    }
    EXPECT_TRUE(p.f.lbl_ModbusHealth->fullText().contains("超时 1"));

    // The device answers again: the values come back live and scaled by their own hint.
    p.f.Device->modbus().setTimeoutMs(60000);
    silent.write(ModbusReadReply(1, {7, 10}));
    EXPECT_TRUE(waitFor([&] { return p.label("V1")->isEnabled(); }));
    EXPECT_EQ(p.label("V0")->text(), "7");
    EXPECT_EQ(p.label("V1")->text(), "10");
    EXPECT_EQ(p.label("V1")->toolTip(), "0|1");

    // Starting polling again counts afresh.
    p.f.chb_AutoRead->setChecked(false);
    p.f.chb_AutoRead->setChecked(true);
    EXPECT_EQ(p.f.Device->modbus().health(), ModbusHealth{});
    EXPECT_TRUE(p.f.lbl_ModbusHealth->fullText().startsWith("已发 0 · 正常 0"));
}

} // namespace
