#include "console/protocol/TrendCsv.h"

#include "console/protocol/AutoReadPoller.h"

#include <QBuffer>
#include <QIODevice>
#include <cstdio>
#include <limits>

namespace {

const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// Quoted when the cell holds a separator, a quote, a line break or edge blanks that a
// spreadsheet would otherwise split or trim.
QByteArray cell(const QString& text) {
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') || text != text.trimmed();
    if (!quote)
        return text.toUtf8();
    return '"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")).toUtf8() + '"';
}

// Collects the rows and hands them to the device in pieces, so an export of many hours
// never holds its whole text.
class CsvWriter {
public:
    CsvWriter(const TrendStore& store, QIODevice& out)
        : m_store(store), m_out(out), m_startEpochMs(store.startedAt().toMSecsSinceEpoch()) {}

    bool header(Language language) {
        m_buffer = "\xEF\xBB\xBF";
        m_buffer += cell(language.translate("TrendCsv", "Time"));
        for (const TrendStore::Channel& channel : m_store.channels())
            m_buffer += ',' + cell(TrendColumnTitle(channel));
        m_buffer += "\r\n";
        return flush(false);
    }

    bool rows() {
        m_row.assign(m_store.channels().size(), std::nullopt);
        bool ok = true;
        m_store.forEach([&](qint64 ms, int channel, double value) {
            if (!ok)
                return;
            // A row is one reply: the samples of one time, each register once.
            if (m_open && (ms != m_rowMs || m_row[size_t(channel)]))
                ok = endRow();
            m_open = true;
            m_rowMs = ms;
            m_row[size_t(channel)] = value;
        });
        if (ok && m_open)
            ok = endRow();
        return ok && flush(true);
    }

private:
    bool endRow() {
        appendTime(m_startEpochMs + m_rowMs);
        for (std::optional<double>& value : m_row) {
            m_buffer += ',';
            if (value)
                m_buffer += FormatGeneral(*value, QStringLiteral(".")).toUtf8();
            value.reset();
        }
        m_buffer += "\r\n";
        m_open = false;
        return flush(false);
    }

    // The local time as timeFormat writes it. Converting each row to local time on its own
    // made an hour's export take a third of a second, so the offset from UTC is looked up
    // once a minute (offsets change on whole minutes) and the text is written by hand.
    void appendTime(qint64 epochMs) {
        const qint64 minute = epochMs >= 0 ? epochMs / 60'000 : (epochMs - 59'999) / 60'000;
        if (minute != m_offsetMinute) {
            m_offsetMinute = minute;
            m_offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(minute * 60'000).offsetFromUtc()) * 1000;
        }
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(epochMs + m_offsetMs, Qt::UTC);
        const QDate d = local.date();
        const QTime t = local.time();
        char text[40];
        const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year(),
                                    d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
        m_buffer.append(text, n);
    }

    bool flush(bool always) {
        if (!always && m_buffer.size() < 64 * 1024)
            return true;
        const bool ok = m_out.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
        return ok;
    }

    const TrendStore& m_store;
    QIODevice& m_out;
    const qint64 m_startEpochMs;
    QByteArray m_buffer;
    std::vector<std::optional<double>> m_row;
    qint64 m_rowMs = 0;
    bool m_open = false;
    qint64 m_offsetMinute = std::numeric_limits<qint64>::min();
    qint64 m_offsetMs = 0;
};

} // namespace

QString TrendColumnTitle(const TrendStore::Channel& channel) {
    const QString caption =
        channel.caption.trimmed().isEmpty() ? QStringLiteral("V%1").arg(channel.address) : channel.caption;
    return channel.unit.trimmed().isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, channel.unit);
}

QDateTime TrendSampleTime(const TrendStore& store, qint64 ms) {
    return store.startedAt().addMSecs(ms);
}

bool WriteTrendCsv(const TrendStore& store, QIODevice& out, Language language) {
    CsvWriter writer(store, out);
    return writer.header(language) && writer.rows();
}

QByteArray TrendCsvText(const TrendStore& store, Language language) {
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    WriteTrendCsv(store, buffer, language);
    return text;
}

QString TrendPointText(const TrendStore& store, int channel, const TrendStore::Sample& sample,
                       const QString& decimalSeparator) {
    if (channel < 0 || size_t(channel) >= store.channels().size())
        return {};
    const TrendStore::Channel& c = store.channels()[size_t(channel)];
    const QString caption = c.caption.trimmed().isEmpty() ? QStringLiteral("V%1").arg(c.address) : c.caption;
    QString value = FormatGeneral(sample.value, decimalSeparator);
    if (!c.unit.trimmed().isEmpty())
        value += QLatin1Char(' ') + c.unit;
    return QStringLiteral("%1: %2\n%3")
        .arg(caption, value, TrendSampleTime(store, sample.ms).toString(timeFormat));
}
