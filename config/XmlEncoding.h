#pragma once

#include <QByteArray>
#include <QString>

// How the bytes of a configuration file become text and go back to bytes. Loading and
// saving both take their route from here, so a file is always written in the encoding it
// is read in.
struct XmlEncodingRoute {
    // Converter names for iconv; both empty for the encodings the XML library reads and writes
    // itself (UTF-8, and UTF-16/32 found by their byte order).
    QByteArray decoder;
    QByteArray encoder;
    bool native() const { return decoder.isEmpty(); }
};

// The route for an encoding named in an XML declaration ("" when none is named).
XmlEncodingRoute RouteForEncoding(const QByteArray& declared);

// The encoding named by the XML declaration at the start of bytes (after any byte order
// mark). A declaration behind leading blank lines, which the XML rules do not allow, is
// accepted only when it names UTF-8 or nothing: its bytes would otherwise be read one way now
// and another way once a save has put the declaration first. *misplaced then holds the
// reason and the result is empty.
QByteArray DeclaredEncoding(const QByteArray& bytes, QString* misplaced);

// Converts all of text with the converter named; false with *failedAt set to the offset of the
// first sequence that has no equivalent.
bool DecodeToUtf8(const QByteArray& bytes, const QByteArray& decoder, QByteArray* text, qsizetype* failedAt);

// UTF-8 text to the encoder's bytes. Each character the encoding cannot hold becomes a
// character reference (&#x...;), which is exact in text and attribute values; callers make
// sure no such character sits where a reference cannot stand (names, comments). False
// when the converter does not exist.
bool EncodeFromUtf8(const QByteArray& text, const QByteArray& encoder, QByteArray* bytes);

// True when every character of text has bytes in the encoder's encoding.
bool Encodable(const QByteArray& utf8Text, const QByteArray& encoder);
