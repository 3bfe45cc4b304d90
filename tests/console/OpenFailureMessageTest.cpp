#include "console/PageBuilderFixture.h"
#include "console/Connection.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString partTextEN = QStringLiteral(
    " open error\n\rPlease confirm that this port exists or is not occupied by another program");
const QString partTextCN = QStringLiteral("打开错误\n\r请确认存在此端口或未被其它程序占用");

struct OpeningWindow : TestWindow {
    OpeningWindow() : TestWindow(TestConfig{}) { EXPECT_EQ(build(), QString()); }
    std::string open(const QString& port, const QString& language) {
        form->LanguageCode = language;
        form->connection->setLanguage(form->language());
        presenter.messages.clear();
        form->cbb_Port->setCurrentText(port);
        form->btn_Connect->click();
        return presenter.messages.value(0).toStdString();
    }
};

TEST(OpenFailureMessageTest, TheUsualTextGainsOneLineWithTheRealReasonInTheCurrentLanguage) {
    const QString missing = QStringLiteral("/dev/tervalon-no-such-port");
    OpeningWindow window;
    EXPECT_EQ(window.open(missing, "EN"),
              QString(missing + partTextEN + "\n\rReason: " + missing + " does not exist.").toStdString());
    EXPECT_EQ(
        window.open("/dev/null", "EN"),
        QString("/dev/null" + partTextEN + "\n\rReason: /dev/null is not a serial port.").toStdString());

    EXPECT_EQ(
        window.open(missing, "CN"),
        QString(missing + partTextCN + QStringLiteral("\n\r原因：") + missing + " 不存在。").toStdString());

    // Another program holds the device's lock.
    QTemporaryFile held;
    ASSERT_TRUE(held.open());
    const int other = ::open(held.fileName().toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(window.open(held.fileName(), "EN"), QString(held.fileName() + partTextEN + "\n\rReason: " +
                                                          held.fileName() + " is in use by another program.")
                                                      .toStdString());
    EXPECT_EQ(window.open(held.fileName(), "CN"),
              QString(held.fileName() + partTextCN + QStringLiteral("\n\r原因：") + held.fileName() +
                      QStringLiteral(" 正被其它程序占用。"))
                  .toStdString());
    ::close(other);
}

} // namespace
