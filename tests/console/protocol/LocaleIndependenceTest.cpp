// Numbers in config.xml and the bytes sent must not depend on the PC's regional settings.

#include "console/protocol/AutoReadPoller.h"
#include "console/protocol/CommandText.h"

#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

const RegionalFormats kGerman = RegionalFormats::fromLocale(QLocale(QLocale::German, QLocale::Germany));

TEST(LocaleIndependenceTest, NowIsAlwaysSlashesAndColons) {
    ASSERT_EQ(kGerman.dateSeparator, QStringLiteral("."));
    const QDateTime at(QDate(2024, 12, 31), QTime(23, 5, 9));
    EXPECT_EQ(FixedCommand(QStringLiteral("$KWRV=20,[NOW]#"), at, kGerman),
              QStringLiteral("$KWRV=20,2024/12/31 23:05:09#\r\n"));
    RegionalFormats odd;
    odd.dateSeparator = QStringLiteral("-");
    odd.timeSeparator = QStringLiteral(".");
    EXPECT_EQ(FixedCommand(QStringLiteral("[now]"), at, odd), QStringLiteral("2024/12/31 23:05:09\r\n"));
}

TEST(LocaleIndependenceTest, ScalingConstantsReadWithPointAlsoInACommaRegion) {
    const QString comma = kGerman.decimalSeparator;
    ASSERT_EQ(comma, QStringLiteral(","));
    // The example's labels: temperature, humidity, pressure and flow.
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|0.1"), 1234, comma), QStringLiteral("123,4"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("-100|0.01"), 350, comma), QStringLiteral("2,5"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|1"), 7, comma), QStringLiteral("7"));
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0.5|2"), 7, comma), QStringLiteral("15"));
    // The region's own separator is taken too; a number with two decimal points is not.
    EXPECT_EQ(ScaleAutoValue(QStringLiteral("0|0,1"), 1234, comma), QStringLiteral("123,4"));
    EXPECT_FALSE(ScaleAutoValue(QStringLiteral("0|0.1,5"), 1234, comma));
    EXPECT_FALSE(ScaleAutoValue(QStringLiteral("0|1..5"), 1234, comma));
    // In a point region a comma stays no decimal point.
    EXPECT_FALSE(ScaleAutoValue(QStringLiteral("0|0,1"), 1234, QStringLiteral(".")));
}

} // namespace
