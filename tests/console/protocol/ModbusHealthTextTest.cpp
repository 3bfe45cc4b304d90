// The health line and the greyed values' reasons are worded wholly in the language asked for:
// a Chinese window never shows one of them in English.

#include "console/protocol/ModbusHealthText.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

bool hasEnglishWord(const QString& text) {
    // Units and counts stay as they are ("ms", "CRC"); a word of three small letters is English.
    return text.contains(QRegularExpression(QStringLiteral("[a-z]{3,}")));
}

TEST(ModbusHealthTextTest, EveryLineAndReasonHasItsChineseWording) {
    ModbusHealth health;
    health.sent = 12;
    health.good = 9;
    health.exceptions = 1;
    health.lastException = 2;
    health.lastReplyMs = 40;
    const QString chinese = ModbusHealthText(health, Language::chinese());
    EXPECT_FALSE(hasEnglishWord(chinese)) << chinese.toStdString();
    EXPECT_TRUE(chinese.startsWith(QStringLiteral("已发 12 · 正常 9 · 超时 0\n"))) << chinese.toStdString();
    EXPECT_EQ(chinese.count(u'\n'), 3) << "the exception's line once there was one";
    const QString english = ModbusHealthText(health, Language::english());
    EXPECT_TRUE(english.endsWith("Last exception: illegal data address")) << english.toStdString();

    const QDateTime lastGood(QDate(2026, 5, 6), QTime(7, 8, 9));
    for (int reason = ModbusStale::TimedOut; reason <= ModbusStale::WaitingForDevice; ++reason) {
        const ModbusStale stale{ModbusStale::Reason(reason), 250, 4};
        for (const QDateTime& when : {lastGood, QDateTime()}) {
            const QString text = ModbusStaleText(stale, when, Language::chinese());
            EXPECT_FALSE(hasEnglishWord(text)) << reason << " " << text.toStdString();
            EXPECT_EQ(text.count(u'\n'), 1) << text.toStdString();
            EXPECT_NE(text, ModbusStaleText(stale, when, Language::english()));
        }
    }
    EXPECT_EQ(ModbusStaleText({ModbusStale::Late, 250, 0}, lastGood, Language::english()),
              "The reply came after 250 ms; the value shown is older\nLast good value: 2026-05-06 07:08:09");
}

} // namespace
