#pragma once

#include "config/ConfigRecords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// The widget-free half of automatic reading: what one timer tick sends and which register
// values a received block carries. The window supplies the check box, the interval text and
// the page in view, and shows what comes back.
class AutoReadPoller {
public:
    struct Tick {
        std::optional<int> newInterval; // ms, from the next tick on
        QByteArray request;             // empty: nothing to send
    };
    struct RegisterValue {
        qint32 address;
        quint16 value;
        bool operator==(const RegisterValue&) const = default;
    };

    // An interval text that is an integer above this becomes the timer's interval.
    static constexpr int kMinimumInterval = 500;

    // One polling step. pageIndex is the page in view (-1 for none, which sends nothing).
    // Only a page whose protocol is exactly "MODBUS" is polled; its block becomes the one
    // the next replies are matched against.
    Tick tick(bool autoReadChecked, const QString& intervalText, int pageIndex,
              const QList<TAutoRead>& autoReads);

    // The registers a block answers for the last request: empty unless automatic reading is
    // on, the last request was Modbus and the block is a sound reply of its station.
    QList<RegisterValue> checkReply(bool autoReadChecked, QByteArrayView block) const;

    int pageCursor() const { return m_pageCursor; }
    const QString& curProtocol() const { return m_cur.pro; }
    const TAutoRead& current() const { return m_cur; }

private:
    int m_pageCursor = 0;
    TAutoRead m_cur; // the block of the last request
};

// The entries of a value label's tooltip "constA|constM": split at "|", with blanks and
// control characters around or inside entries also separating them; a "|" at the very end
// adds an empty entry.
QStringList SplitHintEntries(const QString& hint);

// Reads a decimal fraction written with "." or the region's decimal separator (optional
// sign, digits, optional exponent, surrounding blanks allowed).
std::optional<double> ParseRegionalNumber(const QString& text, const QString& decimalSeparator);

// The shortest general form with up to 15 significant digits: 123.4, 1234, 1E20, 1.5E-6.
QString FormatGeneral(double value, const QString& decimalSeparator);

// (value + offset) * factor, offset and factor taken from the label's tooltip; none when the
// tooltip does not hold two numbers.
std::optional<double> ScaleAutoNumber(const QString& hint, quint16 value, const QString& decimalSeparator);

// (value + offset) * factor as a label shows it, offset and factor taken from the label's
// tooltip. No text when the tooltip does not hold two numbers.
std::optional<QString> ScaleAutoValue(const QString& hint, quint16 value, const QString& decimalSeparator);
