#pragma once

// Small file and error helpers the configuration-file tests share.

#include "config/AppError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of the error the action raises, or "<no error>".
inline QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.text();
    }
    return QStringLiteral("<no error>");
}
