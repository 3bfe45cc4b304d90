// The health line beside automatic reading and the value labels, against a simulated device
// that answers Modbus wrongly in each of the ways a real bus does.

#include "DeviceLine.h"
#include "comm/SerialComm.h"
#include "console/PageBuilderFixture.h"
#include "console/protocol/ModbusRtu.h"

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
    config.autoRead = "<GROUP_AUTO><A caption=\"甲\" protocol=\"MODBUS\" equAddr=\"1\" startReg=\"0\" regLen=\"2\">"
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
        f.Timer1->stop(); // the test ticks by hand
    }
    ~Polling() { f.Comm1->StopComm(); }

    bool pollOnce(const DeviceLine& line) {
        f.cbb_Port->setCurrentText(line.portPath());
        f.btn_Connect->click();
        f.chb_AutoRead->setChecked(true);
        f.Timer1Timer();
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
        {Fault::Exception, &ModbusHealth::exceptions, "last exception: illegal data address"},
    };
    for (const Case& k : cases) {
        DeviceLine line(device(k.fault));
        Polling p(QStringLiteral("EN"));
        ASSERT_TRUE(p.pollOnce(line));
        EXPECT_TRUE(waitFor([&] { return p.f.Device->modbus().health().*k.counter == 1; })) << k.shown;
        EXPECT_TRUE(p.f.lbl_ModbusHealth->text().contains(QString::fromLatin1(k.shown)))
            << p.f.lbl_ModbusHealth->text().toStdString();
        EXPECT_TRUE(p.f.lbl_ModbusHealth->text().startsWith("Sent 1 ·"));
    }
}

TEST(ModbusHealthTest, ATimeOutOrAnExceptionGreysTheValuesWithTheReasonAndAGoodReplyRestoresThem) {
    DeviceLine silent(device(Fault::Silent));
    Polling p(QStringLiteral("CN"));
    ASSERT_TRUE(p.pollOnce(silent));
    ASSERT_TRUE(waitFor([&] { return silent.wire().size() == 8; }));
    p.f.Device->modbus().setTimeoutMs(0);
    p.f.Timer1Timer(); // notes the time-out, then asks again
    EXPECT_EQ(p.f.Device->modbus().health().timedOut, 1u);
    for (const char* name : {"V0", "V1"}) {
        EXPECT_FALSE(p.label(name)->isEnabled()) << name;
        EXPECT_EQ(p.label(name)->toolTip(), "0 ms 内无应答，显示的是之前的值");
        EXPECT_EQ(p.label(name)->text(), "0.00") << "the last value stays";
    }
    EXPECT_TRUE(p.f.lbl_ModbusHealth->text().contains("超时 1"));

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
    EXPECT_TRUE(p.f.lbl_ModbusHealth->text().startsWith("已发 0 · 正常 0"));
}

} // namespace
