#pragma once

#include <QByteArray>
#include <QString>

// The text of a file a spreadsheet may have saved: UTF-8 with or without a byte-order mark,
// UTF-16 with its mark ("Unicode text"), or GB18030 (which covers GBK and GB2312), the
// default of spreadsheets on Chinese desktops. The encoding is decided by the byte-order mark,
// then by a strict UTF-8 check, then by a strict GB18030 check; nothing is guessed beyond.
struct DecodedText {
    enum class Fault {
        None,
        Empty,    // no bytes, or only a byte-order mark and blanks
        NotText,  // bytes no text file holds (NUL and other control bytes): a binary file
        Encoding, // neither UTF-8 nor GB18030
    };
    QString text;
    QString encoding; // "UTF-8", "UTF-16LE", "UTF-16BE" or "GB18030"
    Fault fault = Fault::None;
    int line = 0; // NotText, Encoding: the first file line with such bytes, from 1
    bool ok() const { return fault == Fault::None; }
};

DecodedText DecodeSpreadsheetText(const QByteArray& bytes);
