#include "console/protocol/TrendStore.h"

#include <QHash>
#include <algorithm>
#include <cmath>

TrendStore::TrendStore(qsizetype capacity) : m_capacity(std::max<qsizetype>(1, capacity)) {}

void TrendStore::start(const QDateTime& wallClock, qint64 monotonicMs) {
    m_ring.clear();
    m_head = 0;
    m_count = 0;
    m_dropped = 0;
    m_channels.clear();
    m_startWall = wallClock;
    m_startMonotonic = monotonicMs;
    ++m_run;
}

int TrendStore::channelOf(int page, qint32 address) const {
    for (size_t c = 0; c < m_channels.size(); ++c)
        if (m_channels[c].page == page && m_channels[c].address == address)
            return int(c);
    return -1;
}

int TrendStore::channelFor(const Reading& reading) {
    int c = channelOf(reading.page, reading.address);
    if (c < 0) {
        m_channels.push_back({reading.page, reading.address, reading.caption, reading.unit});
        return int(m_channels.size() - 1);
    }
    // Captions follow the language in use.
    Channel& channel = m_channels[size_t(c)];
    if (channel.caption != reading.caption)
        channel.caption = reading.caption;
    if (channel.unit != reading.unit)
        channel.unit = reading.unit;
    return c;
}

qint64 TrendStore::lastMs() const {
    return m_count == 0 ? 0 : at(m_count - 1).ms;
}

void TrendStore::record(qint64 monotonicMs, const QList<Reading>& readings) {
    // Samples stay in time order, which the searches rely on, even if a caller's clock
    // were to step back.
    const qint64 ms = std::max(monotonicMs - m_startMonotonic, lastMs());
    for (const Reading& reading : readings) {
        const Record r{ms, channelFor(reading), reading.value};
        if (m_count < m_capacity) {
            // Grows as a vector does, but never past the capacity.
            if (m_ring.size() == m_ring.capacity())
                m_ring.reserve(size_t(std::min(m_capacity, std::max<qsizetype>(1024, m_count * 2))));
            m_ring.push_back(r);
            ++m_count;
        } else {
            m_ring[size_t(m_head)] = r;
            m_head = (m_head + 1) % m_capacity;
            ++m_dropped;
        }
    }
}

qsizetype TrendStore::lowerBound(qint64 ms) const {
    qsizetype lo = 0, hi = m_count;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (at(mid).ms < ms)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

namespace {

struct Bucket {
    qsizetype low = -1, high = -1; // record indexes
    double lowValue = 0, highValue = 0;
};

} // namespace

QList<QList<TrendStore::Sample>> TrendStore::thinned(const QList<int>& channels, qint64 fromMs, qint64 toMs,
                                                     int buckets) const {
    QList<QList<Sample>> result(channels.size());
    if (buckets < 1 || toMs < fromMs)
        return result;
    QHash<int, qsizetype> slot; // channel -> position in `channels`
    for (qsizetype k = 0; k < channels.size(); ++k)
        slot.insert(channels[k], k);
    const double span = double(toMs - fromMs) + 1;
    // Each channel's slices fill in time order, so only the current one is open.
    QList<Bucket> open(channels.size());
    QList<int> openIndex(channels.size(), -1);
    auto close = [&](qsizetype k) {
        const Bucket& b = open[k];
        if (b.low < 0)
            return;
        const qsizetype first = std::min(b.low, b.high), second = std::max(b.low, b.high);
        result[k].append({at(first).ms, at(first).value});
        if (second != first)
            result[k].append({at(second).ms, at(second).value});
    };
    for (qsizetype i = lowerBound(fromMs); i < m_count && at(i).ms <= toMs; ++i) {
        const Record& r = at(i);
        const auto found = slot.constFind(r.channel);
        if (found == slot.constEnd() || !std::isfinite(r.value))
            continue;
        const qsizetype k = *found;
        const int index = std::min(buckets - 1, int(double(r.ms - fromMs) * buckets / span));
        if (index != openIndex[k]) {
            close(k);
            open[k] = Bucket{};
            openIndex[k] = index;
        }
        Bucket& b = open[k];
        if (b.low < 0 || r.value < b.lowValue)
            b.low = i, b.lowValue = r.value;
        if (b.high < 0 || r.value > b.highValue)
            b.high = i, b.highValue = r.value;
    }
    for (qsizetype k = 0; k < channels.size(); ++k)
        close(k);
    return result;
}

std::optional<TrendStore::Sample> TrendStore::nearest(int channel, qint64 ms) const {
    const qsizetype split = lowerBound(ms);
    std::optional<Sample> before, after;
    for (qsizetype i = split - 1; i >= 0 && !before; --i)
        if (at(i).channel == channel)
            before = Sample{at(i).ms, at(i).value};
    for (qsizetype i = split; i < m_count && !after; ++i)
        if (at(i).channel == channel)
            after = Sample{at(i).ms, at(i).value};
    if (!before)
        return after;
    if (!after)
        return before;
    return ms - before->ms <= after->ms - ms ? before : after;
}
