// bench_receive: the window receiving at full pseudo-terminal speed. Feeds 10 MB of text
// lines, then 1 MB shown in hexadecimal (one line of 3 million characters), and prints the
// longest pause of the event loop and the time until everything is shown.

#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "comm/posix/WriteAll.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

struct Result {
    double longestPauseMs = 0;
    double longestPauseAtMs = 0; // when it ended, from the start of sending
    double showMs = 0;
    bool complete = false;
};

// Sends data from the far side and runs the event loop until the box holds expectedChars.
Result feed(TForm_Main& form, int master, const QByteArray& data, qsizetype expectedChars) {
    Result result;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    // A loop of its own per run: a second QApplication::exec() would find the application closing.
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if ((now - last) / 1e6 > result.longestPauseMs) {
            result.longestPauseMs = (now - last) / 1e6;
            result.longestPauseAtMs = now / 1e6;
        }
        last = now;
        if (form.mmo_RX->document()->characterCount() - 1 >= expectedChars) {
            result.showMs = now / 1e6;
            result.complete = true;
            loop.quit();
        }
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    std::thread writer(
        [&] { posixcomm::WriteAll(master, data.constData(), static_cast<std::size_t>(data.size())); });
    last = clock.nsecsElapsed();
    probe.start();
    loop.exec();
    writer.join();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    TForm_Main form(dir.path());
    form.show();
    {
        // The window's first layout and painting are start-up, not receiving.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
    }

    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "bench_receive: openpty failed\n");
        return 1;
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);

    form.cbb_Port->setCurrentText(QString::fromLocal8Bit(name));
    form.cbb_Baud->setCurrentText(QStringLiteral("115200"));
    form.btn_ConnectClick();
    if (form.Comm1->Handle() == 0) {
        std::fprintf(stderr, "bench_receive: cannot open %s\n", name);
        return 1;
    }
    form.chk_autoClearRxmmo->setChecked(false);

    // 10 MB of 64-byte lines.
    QByteArray text;
    text.reserve(10 * 1024 * 1024);
    for (int i = 0; text.size() < 10 * 1024 * 1024; ++i)
        text += QByteArray("device line ") + QByteArray::number(i).rightJustified(10, '0') +
                QByteArray(40, 'x') + "\r\n";
    const qsizetype textChars = text.size() - text.count("\r\n");
    const Result t = feed(form, master, text, textChars);

    form.btn_ClearRxmmoClick();
    form.rbtn_Hex->setChecked(true);
    QByteArray binary(1024 * 1024, Qt::Uninitialized);
    for (char& b : binary)
        b = static_cast<char>(QRandomGenerator::global()->bounded(256));
    // The box continues very long lines on a new line every 4096 characters.
    const qsizetype hexChars = binary.size() * 3;
    const Result h = feed(form, master, binary, hexChars + (hexChars - 1) / 4096);

    form.Comm1->StopComm();
    ::close(slave);
    ::close(master);
    if (!t.complete || !h.complete) {
        std::fprintf(stderr, "bench_receive: not everything was shown within two minutes\n");
        return 1;
    }
    std::printf("receive_text_10MB_longest_pause: %.1f ms\n", t.longestPauseMs);
    std::printf("receive_text_10MB_longest_pause_ended_at: %.0f ms\n", t.longestPauseAtMs);
    std::printf("receive_text_10MB_time_to_show: %.0f ms\n", t.showMs);
    std::printf("receive_hex_1MB_longest_pause: %.1f ms\n", h.longestPauseMs);
    std::printf("receive_hex_1MB_time_to_show: %.0f ms\n", h.showMs);
    return 0;
}
