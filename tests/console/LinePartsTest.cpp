// The connection's lamps, the receive view and the session log driven by the device engine
// alone, over bare controls and no window: each part hears the engine by itself.

#include "config/AppError.h"
#include "console/Connection.h"
#include "console/ReceiveLogView.h"
#include "console/Receiving.h"
#include "console/SessionLog.h"
#include "console/SessionLogging.h"
#include "device/DeviceSession.h"
#include "support/TestApp.h"
#include "ui/Controls.h"
#include "ui/Lamps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The engine over a line that takes every byte.
struct Line {
    Line() {
        testApp();
        device.setWriter([this](QByteArrayView bytes) {
            wire += bytes;
            return true;
        });
    }
    void send(const QByteArray& bytes) {
        DeviceRequest request;
        request.expect = DeviceRequest::Expect::Nothing;
        request.bytes = bytes;
        device.request(request);
    }
    DeviceSession device;
    QByteArray wire;
};

struct ReceiveControls {
    QWidget panel; // keeps the two form buttons exclusive
    ReceiveLogView* view = new ReceiveLogView(&panel);
    QCheckBox* showTime = new QCheckBox(&panel);
    QCheckBox* autoClear = new QCheckBox(&panel);
    QRadioButton* text = new QRadioButton(&panel);
    QRadioButton* hex = new QRadioButton(&panel);
    QCheckBox* autoNewLine = new QCheckBox(&panel);
    ReceivingControls controls() { return {view, showTime, autoClear, text, hex, autoNewLine}; }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(LinePartsTest, ReceivingShowsWhatTheEngineReceivesInTheChosenFormAndSavesIt) {
    Line line;
    ReceiveControls c;
    c.text->setChecked(true);
    Receiving receiving(c.controls(), line.device);
    line.device.feed("ab");
    ASSERT_TRUE(waitFor([&] { return c.view->toPlainText() == "ab"; }))
        << c.view->toPlainText().toStdString();

    c.hex->setChecked(true);
    EXPECT_TRUE(c.view->fixedPitch()) << "hexadecimal columns line up";
    line.device.feed("\x01\xFE");
    ASSERT_TRUE(waitFor([&] { return c.view->toPlainText() == "ab01 FE "; }))
        << c.view->toPlainText().toStdString();
    c.autoNewLine->setChecked(true);
    receiving.followWrapping();
    EXPECT_TRUE(c.view->wrapping());

    RecordingPresenter presenter;
    QTemporaryDir dir;
    presenter.chosenFile = dir.filePath("receive.txt");
    receiving.saveAsked();
    EXPECT_EQ(QString::fromUtf8(readAll(presenter.chosenFile)), "ab01 FE ");
    EXPECT_TRUE(presenter.messages.isEmpty());

    // A folder that is not there: named in the current language, nothing written.
    receiving.setLanguage(Language::english());
    presenter.chosenFile = dir.filePath("gone/receive.txt");
    receiving.saveAsked();
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].startsWith(presenter.chosenFile + " could not be written: "))
        << presenter.messages[0].toStdString();
    presenter.chosenFile.clear(); // the person cancelled: nothing happens
    receiving.saveAsked();
    EXPECT_EQ(presenter.messages.size(), 1);

    receiving.clear();
    EXPECT_TRUE(waitFor([&] { return c.view->toPlainText().isEmpty(); }));
}

TEST(LinePartsTest, TheSessionLogHoldsWhatTheEngineSentAndReceivedWhileTheBoxWasTicked) {
    Line line;
    QTemporaryDir dir;
    QCheckBox box;
    SessionLogging logging({&box}, line.device, dir.filePath("logs"));
    // As the window wires it.
    QObject::connect(&box, &QCheckBox::toggled, &logging, &SessionLogging::followBox);

    line.send("before\r\n");
    ASSERT_TRUE(waitFor([&] { return line.wire == "before\r\n"; }));
    box.setChecked(true);
    ASSERT_TRUE(logging.session());
    const QString file = logging.session()->currentFile();
    EXPECT_TRUE(file.startsWith(dir.filePath("logs/session-"))) << file.toStdString();
    line.send("$KRDV=1#\r\n");
    ASSERT_TRUE(waitFor([&] { return line.wire.endsWith("$KRDV=1#\r\n"); }));
    line.device.feed("$KRDV,1=5\r\n");
    box.setChecked(false); // ends the session: everything is in the file
    EXPECT_FALSE(logging.session());
    line.device.feed("after\r\n");

    const QList<QByteArray> lines = readAll(file).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << readAll(file).toStdString();
    EXPECT_TRUE(lines[0].contains("\tTX\t10\t$KRDV=1#\\r\\n\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("\tRX\t11\t$KRDV,1=5\\r\\n\t")) << lines[1].toStdString();

    // The configuration moved: the next session goes beside it.
    logging.setFolder(dir.filePath("elsewhere"));
    box.setChecked(true);
    ASSERT_TRUE(logging.session());
    EXPECT_TRUE(logging.session()->currentFile().startsWith(dir.filePath("elsewhere/session-")));
    box.setChecked(false);
}

TEST(LinePartsTest, ASessionLogThatCannotStartUnticksTheBoxAndSaysWhere) {
    Line line;
    QTemporaryDir dir;
    QFile blocker(dir.filePath("logs"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    RecordingPresenter presenter;
    QCheckBox box;
    SessionLogging logging({&box}, line.device, dir.filePath("logs"));
    logging.setLanguage(Language::english());
    QObject::connect(&box, &QCheckBox::toggled, &logging, &SessionLogging::followBox);
    box.setChecked(true);
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(logging.session());
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].contains(dir.filePath("logs"))) << presenter.messages[0].toStdString();
    EXPECT_TRUE(presenter.messages[0].endsWith("could not be created; nothing is logged."));
}

struct PortControls {
    QWidget panel;
    QComboBox* port = new QComboBox(&panel);
    QComboBox* baud = new QComboBox(&panel);
    QComboBox* parity = new QComboBox(&panel);
    QComboBox* dataBits = new QComboBox(&panel);
    QComboBox* stopBits = new QComboBox(&panel);
    QCheckBox* reconnect = new QCheckBox(&panel);
    QPushButton* button = new QPushButton(&panel);
    TShape* portLamp = new TShape(&panel);
    TShape* sendLamp = new TShape(&panel);
    TShape* receiveLamp = new TShape(&panel);
    PortControls() {
        baud->addItems({"9600", "fast"});
        parity->addItems({"N", "O", "E", "M", "S"});
        dataBits->addItems({"5", "6", "7", "8"});
        dataBits->setCurrentText("8");
        stopBits->addItems({"1", "1.5", "2"});
        port->setEditable(true);
        portLamp->setBrushColor(lamp::portClosed);
    }
    ConnectionControls controls() {
        return {port, baud, parity, dataBits, stopBits, reconnect, button, portLamp, sendLamp, receiveLamp};
    }
};

TEST(LinePartsTest, TheLampsFlashForEveryBlockWhoeverSentItAndComeBackToRest) {
    Line line;
    PortControls c;
    Connection connection(c.controls(), line.device);
    QColor sendAtSend, receiveAtReceive;
    QObject::connect(&line.device, &DeviceSession::sent, [&] { sendAtSend = c.sendLamp->brushColor(); });
    QObject::connect(&line.device, &DeviceSession::received,
                     [&] { receiveAtReceive = c.receiveLamp->brushColor(); });
    line.send("x");
    ASSERT_TRUE(waitFor([&] { return sendAtSend.isValid(); }));
    EXPECT_EQ(sendAtSend, lamp::sent);
    line.device.feed("y");
    EXPECT_EQ(receiveAtReceive, lamp::received);
    EXPECT_TRUE(waitFor([&] {
        return c.sendLamp->brushColor() == lamp::atRest && c.receiveLamp->brushColor() == lamp::atRest;
    }));
}

TEST(LinePartsTest, AnOpeningThatFailsTellsNobodyTheRestOfTheConsoleAndLeavesThePortClosed) {
    Line line;
    line.device.setWriter({}); // the real port decides now
    PortControls c;
    Connection connection(c.controls(), line.device);
    connection.setLanguage(Language::english());
    int opened = 0;
    QObject::connect(&connection, &Connection::portOpened, [&] { ++opened; });
    RecordingPresenter presenter;

    c.port->setCurrentText("/dev/tervalon-no-such-port");
    connection.toggle();
    EXPECT_FALSE(connection.isOpen());
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].endsWith("does not exist.")) << presenter.messages[0].toStdString();
    EXPECT_EQ(c.portLamp->brushColor(), lamp::portClosed);

    // A baud rate that is no number is the program's error, for the window's error box.
    c.baud->setCurrentText("fast");
    EXPECT_THROW(connection.toggle(), AppError);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(presenter.messages.size(), 1);
}

} // namespace
