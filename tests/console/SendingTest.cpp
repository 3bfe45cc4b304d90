// Sending driven without a window: its own controls, the engine on a scripted line, the
// parameter model of the example, and what it tells through its signals.

#include "console/Sending.h"

#include "config/BatchCommands.h"
#include "device/ParameterModel.h"
#include "support/TestApp.h"
#include "ui/ControlLook.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Bench {
    Bench() {
        for (const char* tag : {"DevAddr", "AlarmMask"})
            rows[tag].value = new QLineEdit(&window);
        auto* mode = new QComboBox(&window);
        mode->setEditable(true);
        mode->addItems({"停止", "手动", "自动"});
        rows["Mode"].value = mode;
        SendingControls controls;
        controls.sendBox = new QPlainTextEdit(&window);
        controls.send = new QPushButton(&window);
        controls.batches = new QComboBox(&window);
        controls.receiveBox = new QPlainTextEdit(&window);
        device.setWriter([this](QByteArrayView bytes) {
            if (portOpen)
                wire += bytes.toByteArray();
            return portOpen;
        });
        sending = std::make_unique<Sending>(controls, device, model, rows, batches);
        box = controls.sendBox;
        button = controls.send;
        batchBox = controls.batches;
        receiveBox = controls.receiveBox;
    }
    QLineEdit* edit(const QString& tag) const { return static_cast<QLineEdit*>(rows[tag].value); }
    QComboBox* mode() const { return static_cast<QComboBox*>(rows["Mode"].value); }
    // The engine sends on its next turn of the event loop.
    bool wireIs(const QByteArray& bytes) {
        return waitFor([&] { return wire == bytes; }, 20000);
    }

    QApplication& app = testApp();
    RecordingPresenter presenter;
    QWidget window;
    QHash<QString, RowControls> rows;
    QList<TCMDS> batches;
    ParameterModel model = ParameterModel::fromFile(sourceDir() + "/examples/config.xml");
    DeviceSession device;
    QByteArray wire;
    bool portOpen = true;
    std::unique_ptr<Sending> sending;
    QPlainTextEdit* box = nullptr;
    QPushButton* button = nullptr;
    QComboBox* batchBox = nullptr;
    QWidget* receiveBox = nullptr;
};

TEST(SendingTest, ARowsReadAndWriteAreTheModelsAndAreToldToListeners) {
    Bench b;
    QList<QWidget*> applied;
    QObject::connect(b.sending.get(), &Sending::replyApplied, [&](QWidget* field) { applied << field; });
    struct Sent {
        QWidget* field;
        qint32 address;
        QString value;
    };
    QList<Sent> sent;
    QObject::connect(b.sending.get(), &Sending::writeSent,
                     [&](QWidget* field, qint32 address, const QString& value) {
                         sent << Sent{field, address, value};
                     });
    QList<std::optional<QString>> answered;
    QObject::connect(b.sending.get(), &Sending::writeAnswered,
                     [&](const std::optional<QString>& reply) { answered << reply; });

    b.sending->readRow("AlarmMask");
    EXPECT_TRUE(b.wireIs("$KRDV=2003#\r\n"));
    EXPECT_EQ(b.sending->readTarget(), b.edit("AlarmMask"));
    b.device.feed("$KRDV,2003=26\r\n");
    EXPECT_EQ(b.edit("AlarmMask")->text(), "001A");
    ASSERT_EQ(applied.size(), 1);
    EXPECT_EQ(applied[0], b.edit("AlarmMask"));
    EXPECT_EQ(b.sending->readTarget(), nullptr);

    // The choice goes by its position in the language shown.
    b.wire.clear();
    b.sending->setLanguage(Language::english());
    b.mode()->setCurrentText("Auto");
    b.sending->writeRow("Mode");
    EXPECT_TRUE(b.wireIs("$KWRV=1003,2#\r\n"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].field, b.mode());
    EXPECT_EQ(sent[0].address, 1003);
    EXPECT_EQ(sent[0].value, "2");
    EXPECT_TRUE(answered.isEmpty()) << "the acknowledgement is still to come";
    b.device.feed("OK \r\n");
    ASSERT_EQ(answered.size(), 1);
    EXPECT_EQ(answered[0], std::optional<QString>("OK"));

    // A write that never went out is told as such, not as a silent device.
    b.portOpen = false;
    b.edit("DevAddr")->setText("5");
    b.sending->writeRow("DevAddr");
    ASSERT_TRUE(waitFor([&] { return answered.size() == 2; }));
    EXPECT_EQ(answered[1], std::nullopt);
    EXPECT_EQ(b.box->toPlainText().trimmed(), "$KWRV=1001,5#") << "still shown";
    b.portOpen = true;

    // Nothing to write: named, nothing sent, nobody told; a tag of no row does nothing.
    b.wire.clear();
    b.edit("DevAddr")->clear();
    b.sending->writeRow("DevAddr");
    b.sending->readRow("NoSuchRow");
    b.sending->writeRow("NoSuchRow");
    b.sending->send("end");
    EXPECT_TRUE(b.wireIs("end")) << "nothing went before it";
    EXPECT_EQ(b.presenter.messages, QStringList{"The parameter value cannot be empty"});
    EXPECT_EQ(sent.size(), 2);
}

TEST(SendingTest, AReadClickedDuringAnotherReadsPauseSendsItsOwnLineAndGetsItsOwnReply) {
    Bench b;
    // The second click lands while the first waits its pause before sending.
    QTimer::singleShot(10, [&] { b.sending->readRow("AlarmMask"); });
    b.sending->readRow("DevAddr");
    EXPECT_TRUE(b.wireIs("$KRDV=2003#\r\n")) << "one request in flight; the other waits its turn";
    b.device.feed("$KRDV,2003=255\r\n");
    EXPECT_TRUE(b.wireIs("$KRDV=2003#\r\n$KRDV=1001#\r\n")) << "each click sent its own address";
    b.device.feed("$KRDV,1001=7\r\n");
    EXPECT_EQ(b.edit("AlarmMask")->text(), "00FF");
    EXPECT_EQ(b.edit("DevAddr")->text(), "7");
    EXPECT_TRUE(b.button->isEnabled());
}

TEST(SendingTest, FreeLinesAndTheSendBoxGoOutExactlyOrNotAtAll) {
    Bench b;
    EXPECT_FALSE(b.sending->send(QStringLiteral("ABC中")));
    EXPECT_EQ(b.presenter.messages.size(), 1);
    EXPECT_EQ(b.box->toPlainText(), "") << "a refused line is not shown as sent";
    // A line code staged goes as staged while the box shows it, whatever the box keeps.
    EXPECT_TRUE(b.sending->send("A\rB"));
    EXPECT_TRUE(b.wireIs("A\rB"));
    b.wire.clear();
    b.sending->sendBox();
    EXPECT_TRUE(b.wireIs("A\rB"));

    // Edited by the operator: the box's lines, each break as CR LF.
    b.wire.clear();
    b.box->setPlainText("L1\nL2");
    b.sending->sendBox();
    EXPECT_TRUE(b.wireIs("L1\r\nL2"));
    EXPECT_TRUE(b.button->isEnabled());

    // A fixed command follows the language pass's rewording; an unknown button sends nothing.
    QObject fixed;
    b.sending->addFixedCommand(&fixed, {"Go", "$GO=1#"});
    EXPECT_TRUE(b.sending->setFixedCommand(&fixed, "$GO=[now]#"));
    QObject other;
    EXPECT_FALSE(b.sending->setFixedCommand(&other, "$X#"));
    b.wire.clear();
    b.sending->sendFixedCommand(&other);
    b.sending->sendFixedCommand(&fixed);
    ASSERT_TRUE(waitFor([&] { return b.wire.endsWith("\n"); }));
    EXPECT_TRUE(b.wire.startsWith("$GO=20")) << b.wire.toStdString();
    EXPECT_TRUE(b.wire.endsWith("#\r\n"));
    EXPECT_EQ(b.sending->fixedCommand(&fixed)->command, "$GO=[now]#");
}

TEST(SendingTest, ABatchStartedWhileAnotherWaitsForTheOperatorLeavesTheReceiveBoxAsItWas) {
    Bench b;
    b.batches = {ParseBatch("outer", "O1[-1]"), ParseBatch("inner", "I1[-1]")};
    b.batchBox->addItems({"outer", "inner"});
    const QColor normalBackground = controlColor(b.receiveBox);
    const QColor normalText = fontColor(b.receiveBox);
    QList<QColor> seen;
    // The operator starts the second batch while the first waits, then confirms both steps.
    QTimer::singleShot(50, [&] {
        seen << controlColor(b.receiveBox);
        b.batchBox->setCurrentIndex(1);
        QTimer::singleShot(50, [&] {
            seen << controlColor(b.receiveBox);
            b.box->appendPlainText("");
        });
        b.sending->runBatch();
        seen << controlColor(b.receiveBox);
        b.box->appendPlainText("");
    });
    b.batchBox->setCurrentIndex(0);
    b.sending->runBatch();
    EXPECT_EQ(seen, (QList<QColor>{QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 0, 0)}))
        << "warned as long as one step waits";
    EXPECT_EQ(controlColor(b.receiveBox), normalBackground);
    EXPECT_EQ(fontColor(b.receiveBox), normalText);
    EXPECT_TRUE(waitFor([&] { return b.wire.startsWith("I1"); })) << b.wire.toStdString();
    EXPECT_TRUE(b.button->isEnabled());
}

} // namespace
