#include "ui/VersionInfo.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The record linked into the executable: a marker followed by four little-endian 16-bit
// numbers. The reader builds the marker at run time, so only the record itself holds it.
struct VersionRecord {
    char marker[16];
    std::uint16_t numbers[4];
};

[[gnu::used, gnu::section(".tervalon_version")]] const VersionRecord exeVersionRecord = {
    {'~', 'T', 'V', 'R', '-', 'V', 'E', 'R', 'S', 'I', 'O', 'N', '-', 'R', 'E', 'C'},
    {TERVALON_VERSION_MAJOR, TERVALON_VERSION_MINOR, TERVALON_VERSION_PATCH, TERVALON_VERSION_TWEAK}};

std::array<char, 16> markerBytes() {
    const char reversed[] = "CER-NOISREV-RVT~";
    std::array<char, 16> m{};
    std::reverse_copy(reversed, reversed + 16, m.begin());
    return m;
}

QString joined(const std::uint16_t n[4]) {
    return QStringLiteral("%1.%2.%3.%4").arg(n[0]).arg(n[1]).arg(n[2]).arg(n[3]);
}

QDateTime fromTimespec(std::int64_t seconds) {
    QDateTime t = QDateTime::fromSecsSinceEpoch(seconds).toLocalTime();
    // Even seconds, as the date-time format that the title shows keeps them.
    const QTime tm = t.time();
    return QDateTime(t.date(), QTime(tm.hour(), tm.minute(), tm.second() - tm.second() % 2));
}

} // namespace

QString GetFileVersionText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < static_cast<qint64>(sizeof(VersionRecord)))
        return QStringLiteral("0.0.0.0");
    const uchar* data = file.map(0, file.size());
    if (!data)
        return QStringLiteral("0.0.0.0");
    const auto marker = markerBytes();
    const void* hit = memmem(data, static_cast<size_t>(file.size()), marker.data(), marker.size());
    QString result = QStringLiteral("0.0.0.0");
    if (hit) {
        const auto* p = static_cast<const uchar*>(hit);
        const qint64 offset = p - data;
        if (offset + static_cast<qint64>(sizeof(VersionRecord)) <= file.size()) {
            std::uint16_t n[4];
            for (int i = 0; i < 4; ++i)
                n[i] = static_cast<std::uint16_t>(p[16 + 2 * i] | (p[17 + 2 * i] << 8));
            result = joined(n);
        }
    }
    file.unmap(const_cast<uchar*>(data));
    return result;
}

QString GetExeVersionText() {
    return joined(exeVersionRecord.numbers);
}

QDateTime ZeroDateTime() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QDateTime GetFileTimeStamp(const QString& path, int which) {
    const QByteArray native = QFile::encodeName(path);
    struct statx sx {};
    if (statx(AT_FDCWD, native.constData(), 0, STATX_BTIME | STATX_MTIME | STATX_ATIME, &sx) != 0)
        return ZeroDateTime();
    switch (which) {
    case 0:
        if (sx.stx_mask & STATX_BTIME)
            return fromTimespec(sx.stx_btime.tv_sec);
        return fromTimespec(sx.stx_mtime.tv_sec);
    case 2:
        return fromTimespec(sx.stx_atime.tv_sec);
    default:
        return fromTimespec(sx.stx_mtime.tv_sec);
    }
}
