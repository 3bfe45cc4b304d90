#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// Every value automatic reading showed since polling started, for the trend chart and its
// CSV export. Memory stays bounded however long polling runs: past the capacity the oldest
// samples make room for new ones (and are counted as dropped).
class TrendStore {
public:
    // One value as shown, with what the chart and the export call it.
    struct Reading {
        int page = 0;
        qint32 address = 0;
        double value = 0;
        QString caption, unit;
    };
    struct Channel {
        int page = 0;
        qint32 address = 0;
        QString caption, unit; // as last recorded
    };
    struct Sample {
        qint64 ms = 0; // since the start
        double value = 0;
        bool operator==(const Sample&) const = default;
    };

    // 1.5 million samples: ten hours of four values at 10 Hz, in at most 36 MB.
    static constexpr qsizetype kDefaultCapacity = 1'500'000;

    explicit TrendStore(qsizetype capacity = kDefaultCapacity);

    // Forgets everything; time stamps count from monotonicMs, which is wallClock.
    void start(const QDateTime& wallClock, qint64 monotonicMs);
    // The values one reply brought, at monotonicMs (never before an earlier record).
    void record(qint64 monotonicMs, const QList<Reading>& readings);

    const QDateTime& startedAt() const { return m_startWall; }
    // Counts the starts, so a reader tells one run from the next even within a millisecond.
    quint64 run() const { return m_run; }
    const std::vector<Channel>& channels() const { return m_channels; }
    // The channel of a page's register, or -1.
    int channelOf(int page, qint32 address) const;
    qsizetype size() const { return m_count; }
    qsizetype capacity() const { return m_capacity; }
    quint64 dropped() const { return m_dropped; }
    // The time of the latest sample, or 0 when there is none.
    qint64 lastMs() const;
    // Bytes held by the samples, for the benchmark.
    qsizetype memoryBytes() const { return qsizetype(m_ring.capacity() * sizeof(Record)); }

    // Visits every sample in time order: visit(ms, channel, value).
    template <typename Visit> void forEach(Visit visit) const {
        for (qsizetype i = 0; i < m_count; ++i) {
            const Record& r = at(i);
            visit(r.ms, r.channel, r.value);
        }
    }

    // The samples of each of the given channels within [fromMs, toMs], thinned for drawing:
    // the span is cut into `buckets` equal slices and each slice keeps its lowest and highest
    // sample, in time order, so peaks survive while a line never has more than 2*buckets
    // points. Infinite values, which no axis can show, are left out. The result is
    // index-aligned with `channels`.
    QList<QList<Sample>> thinned(const QList<int>& channels, qint64 fromMs, qint64 toMs, int buckets) const;

    // The channel's sample nearest in time to ms.
    std::optional<Sample> nearest(int channel, qint64 ms) const;

private:
    struct Record {
        qint64 ms;
        qint32 channel;
        double value;
    };
    const Record& at(qsizetype i) const { return m_ring[size_t((m_head + i) % m_capacity)]; }
    // The first index whose time is not before ms.
    qsizetype lowerBound(qint64 ms) const;
    int channelFor(const Reading& reading);

    qsizetype m_capacity;
    std::vector<Record> m_ring; // grows to m_capacity, then wraps
    qsizetype m_head = 0;       // the oldest record once the ring is full
    qsizetype m_count = 0;
    quint64 m_dropped = 0;
    std::vector<Channel> m_channels;
    QDateTime m_startWall;
    qint64 m_startMonotonic = 0;
    quint64 m_run = 0;
};
