#pragma once

#include "device/DeviceSession.h"
#include "support/TestApp.h"

#include <QByteArray>
#include <QList>

// A session whose port is a script: what it sends is kept, what the device says is fed in by
// the test. Results are kept in the order they came.
struct ScriptedLine {
    ScriptedLine() {
        testApp();
        session.setWriter([this](QByteArrayView bytes) {
            if (!open)
                return false;
            writes.append(bytes.toByteArray());
            return true;
        });
    }
    // A text Read of addr with the given time-out; its result is appended to results.
    quint64 read(qint32 addr, int timeoutMs = 60000) {
        DeviceRequest r;
        r.bytes = "$KRDV=" + QByteArray::number(addr) + "#\r\n";
        r.timeoutMs = timeoutMs;
        return ask(r);
    }
    quint64 ask(const DeviceRequest& r) {
        return session.request(r, [this](const DeviceResult& result) { results.append(result); });
    }
    bool sentCount(qsizetype n) {
        return waitFor([&] { return writes.size() >= n; }, 20000) && writes.size() == n;
    }
    void device(const QByteArray& bytes) { session.feed(bytes); }

    DeviceSession session;
    bool open = true;
    QList<QByteArray> writes;
    QList<DeviceResult> results;
};
