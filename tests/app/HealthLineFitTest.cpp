// The health line beside automatic reading keeps every count and the device's latest
// exception readable whatever the window's size and language: shortened with the whole text
// in its tooltip when it must be, never cut through.

#include "app/MainFrm.h"
#include "console/AutoReading.h"
#include "console/protocol/ModbusRtu.h"
#include "support/TestApp.h"
#include "ui/FittedLinesLabel.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// Puts every counter of the window's polling above zero, with many digits.
void countEveryOutcome(TForm_Main& form) {
    ModbusExchange& x = form.Device->modbus();
    const int page = form.pg_AUTO->currentIndex();
    const ModbusExchange::Request request{page, 1, 0, 2};
    QByteArray damaged = ModbusReadReply(1, {5, 6});
    damaged[3] = char(damaged[3] ^ 0x10);
    const QByteArray replies[] = {
        ModbusReadReply(1, {5, 6}), damaged, ModbusReadReply(1, {5}), ModbusExceptionReply(1, 3, 2), {}};
    qint64 now = 0;
    for (int round = 0; round < 2345; ++round) {
        for (const QByteArray& reply : replies) {
            x.canSend(now);
            x.sent(request, now);
            if (!reply.isEmpty())
                x.takeReply(reply, page, now + 123);
            now += 10'000; // past the time-out
            x.canSend(now);
        }
        x.sent(request, now);
        x.canSend(now + 10'000);
        x.takeReply(ModbusReadReply(1, {5, 6}), page, now + 10'001); // late
        x.takeReply(ModbusReadReply(1, {5, 6}), page, now + 10'002); // nobody's
        now += 20'000;
    }
}

struct Size {
    int w, h;
};

class HealthLineFitTest : public ::testing::TestWithParam<std::tuple<Size, const char*>> {};

TEST_P(HealthLineFitTest, EveryCountShowsWholeOrShortenedWithTheWholeTextAsTooltip) {
    testApp();
    RecordingPresenter presenter;
    TempAppDir dir;
    dir.copyExample("config.xml");
    const auto [size, language] = GetParam();
    // The language pass takes the language from the file.
    dir.write("config.xml",
              dir.read("config.xml")
                  .replace("<LANGUAGE value=\"CN\">", "<LANGUAGE value=\"" + QByteArray(language) + "\">"));
    TForm_Main form(dir.path());
    form.FormCreate();
    form.SetLanguage();
    ASSERT_EQ(form.LanguageCode, QString::fromLatin1(language));
    form.resize(size.w, size.h);
    form.show();
    countEveryOutcome(form);
    const ModbusHealth& h = form.Device->modbus().health();
    for (quint64 count :
         {h.good, h.timedOut, h.badCrc, h.wrongLength, h.dropped, h.exceptions, h.unsolicited})
        ASSERT_GT(count, 1000u);
    form.autoReading->showHealth();
    QCoreApplication::processEvents();

    FittedLinesLabel* line = form.lbl_ModbusHealth;
    const QString full = line->fullText();
    ASSERT_EQ(full.count('\n'), 3) << "four lines: requests, faults, times, exception";
    for (quint64 count :
         {h.sent, h.good, h.timedOut, h.badCrc, h.wrongLength + h.dropped, h.exceptions, h.unsolicited})
        EXPECT_TRUE(full.contains(QString::number(count))) << count;
    EXPECT_TRUE(full.contains(ModbusExceptionMeaning(2, Language::fromCode(QString::fromLatin1(language)))));

    const QRect room = line->contentsRect();
    const QRect drawn = line->fontMetrics().boundingRect(room, int(line->alignment()), line->text());
    EXPECT_LE(drawn.width(), room.width()) << line->text().toStdString();
    EXPECT_LE(drawn.height(), room.height()) << line->text().toStdString();
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->toolTip(), line->text() != full ? full : QString())
        << "what is shortened is in the tooltip";
    EXPECT_EQ(line->text().count('\n'), 3) << "the label is as tall as its four lines";
}

INSTANTIATE_TEST_SUITE_P(Screens, HealthLineFitTest,
                         ::testing::Combine(::testing::Values(Size{1024, 768 - 60}, Size{1280, 720 - 60},
                                                              Size{1920, 1080 - 60}),
                                            ::testing::Values("CN", "EN")));

// A narrow panel shortens lines but never hides a count without its tooltip; widening it
// again shows everything.
TEST(HealthLineFitTest, NarrowingShortensAndWideningRestores) {
    testApp();
    FittedLinesLabel line(4);
    line.setFullText("Sent 123456 · good 123456 · time-outs 123456\nCRC errors 1\nReply time: last 5 ms\n"
                     "Last exception: illegal data address");
    line.show();
    line.resize(90, line.neededHeight());
    EXPECT_NE(line.text(), line.fullText());
    EXPECT_EQ(line.toolTip(), line.fullText());
    EXPECT_LE(
        line.fontMetrics().boundingRect(line.contentsRect(), int(line.alignment()), line.text()).width(),
        line.contentsRect().width());

    line.resize(300, line.neededHeight() / 2); // lines below the height fold into "…"
    EXPECT_LE(
        line.fontMetrics().boundingRect(line.contentsRect(), int(line.alignment()), line.text()).height(),
        line.contentsRect().height());
    EXPECT_EQ(line.toolTip(), line.fullText());

    line.resize(2000, line.neededHeight());
    EXPECT_EQ(line.text(), line.fullText());
    EXPECT_EQ(line.toolTip(), "");
}

} // namespace
