#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

// A folder of the fuzz run's own, for inputs that must come from a file; in memory where the
// system has a place for it, since every save is flushed to the disk.
inline const QString& fuzzFolder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tervalon-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tervalon-fuzz-XXXXXX"));
    static const QString path = dir.path();
    return path;
}

inline QString fuzzFile(const char* name, const QByteArray& bytes) {
    const QString path = QDir(fuzzFolder()).filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline QByteArray readFuzzFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
