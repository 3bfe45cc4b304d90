#include "console/protocol/TrendStore.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Sample = TrendStore::Sample;

TrendStore::Reading reading(qint32 address, double value, int page = 0) {
    return {page, address, value, QStringLiteral("v%1").arg(address), QStringLiteral("u")};
}

TrendStore started(qsizetype capacity = TrendStore::kDefaultCapacity) {
    TrendStore store(capacity);
    store.start(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), 1000);
    return store;
}

QList<Sample> all(const TrendStore& store, int channel) {
    QList<Sample> samples;
    store.forEach([&](qint64 ms, int c, double v) {
        if (c == channel)
            samples.append({ms, v});
    });
    return samples;
}

TEST(TrendStoreTest, ChannelsAreKeptPerPageAndRegisterAndTakeTheLatestCaption) {
    TrendStore store = started();
    store.record(1100, {reading(100, 1), reading(101, 2)});
    store.record(1200, {reading(100, 3, 1)}); // the same register number on another page
    auto renamed = reading(100, 4);
    renamed.caption = QStringLiteral("Temperature");
    store.record(1300, {renamed});

    ASSERT_EQ(store.channels().size(), 3u);
    EXPECT_EQ(store.channelOf(0, 100), 0);
    EXPECT_EQ(store.channelOf(1, 100), 2);
    EXPECT_EQ(store.channelOf(0, 999), -1);
    EXPECT_EQ(store.channels()[0].caption, "Temperature");
    EXPECT_EQ(all(store, 0), (QList<Sample>{{100, 1}, {300, 4}}));
    EXPECT_EQ(store.lastMs(), 300);

    // Starting again forgets the run before.
    const quint64 run = store.run();
    store.start(store.startedAt(), 5000);
    EXPECT_NE(store.run(), run) << "a new run, even at the same moment";
    EXPECT_EQ(store.size(), 0);
    EXPECT_TRUE(store.channels().empty());
    EXPECT_EQ(store.lastMs(), 0);
}

TEST(TrendStoreTest, PastItsCapacityTheOldestSamplesGoFirstAndAreCounted) {
    TrendStore store = started(5);
    for (int i = 0; i < 8; ++i)
        store.record(1000 + i * 10, {reading(7, i)});
    EXPECT_EQ(store.size(), 5);
    EXPECT_EQ(store.dropped(), 3u);
    EXPECT_EQ(all(store, 0), (QList<Sample>{{30, 3}, {40, 4}, {50, 5}, {60, 6}, {70, 7}}));
    EXPECT_LE(store.memoryBytes(), qsizetype(5 * 24));
    // Searches still work across the ring's seam.
    EXPECT_EQ(store.nearest(0, 44), (Sample{40, 4}));
    EXPECT_EQ(store.nearest(0, 0), (Sample{30, 3}));
}

TEST(TrendStoreTest, AClockSteppingBackNeverBreaksTheTimeOrder) {
    TrendStore store = started();
    store.record(2000, {reading(1, 1)});
    store.record(1500, {reading(1, 2)});
    EXPECT_EQ(all(store, 0), (QList<Sample>{{1000, 1}, {1000, 2}}));
}

TEST(TrendStoreTest, NearestPicksTheClosestSampleOfItsOwnChannel) {
    TrendStore store = started();
    store.record(1000, {reading(1, 10), reading(2, 20)});
    store.record(1100, {reading(2, 21)});
    store.record(1200, {reading(1, 12), reading(2, 22)});
    EXPECT_EQ(store.nearest(0, 90), (Sample{0, 10}));
    EXPECT_EQ(store.nearest(0, 110), (Sample{200, 12}));
    EXPECT_EQ(store.nearest(1, 90), (Sample{100, 21}));
    EXPECT_EQ(store.nearest(0, 5000), (Sample{200, 12}));
    EXPECT_FALSE(store.nearest(5, 0));
    EXPECT_FALSE(started().nearest(0, 0));
}

TEST(TrendStoreTest, ThinningKeepsEachSlicesPeaksInTimeOrderWithinTheSpan) {
    TrendStore store = started();
    // 0..99 ms: a sawtooth with a spike at 37 and a dip at 71.
    for (int ms = 0; ms < 100; ++ms) {
        double v = ms % 10;
        if (ms == 37)
            v = 100;
        if (ms == 71)
            v = -50;
        store.record(1000 + ms, {reading(1, v), reading(2, -v)});
    }
    const auto lines = store.thinned({0}, 0, 99, 10);
    ASSERT_EQ(lines.size(), 1);
    const QList<Sample>& line = lines[0];
    EXPECT_LE(line.size(), 20);
    EXPECT_TRUE(line.contains(Sample{37, 100}));
    EXPECT_TRUE(line.contains(Sample{71, -50}));
    for (qsizetype i = 1; i < line.size(); ++i)
        EXPECT_LT(line[i - 1].ms, line[i].ms);

    // Only the asked channels, in the asked order, and only within the span.
    const auto window = store.thinned({1, 0}, 50, 59, 100);
    ASSERT_EQ(window.size(), 2);
    EXPECT_EQ(window[1].size(), 10);
    EXPECT_EQ(window[1].first(), (Sample{50, 0}));
    EXPECT_EQ(window[1].last(), (Sample{59, 9}));
    EXPECT_EQ(window[0].last(), (Sample{59, -9}));
    EXPECT_TRUE(store.thinned({0}, 200, 300, 10)[0].isEmpty());
    EXPECT_TRUE(store.thinned({0}, 0, 99, 0)[0].isEmpty());

    // A value no axis can show is left out of the lines.
    store.record(1100, {reading(1, INFINITY)});
    store.record(1101, {reading(1, 3)});
    EXPECT_EQ(store.thinned({0}, 100, 101, 10)[0], (QList<Sample>{{101, 3}}));
}

} // namespace
