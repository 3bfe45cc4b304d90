#include "console/protocol/SpreadsheetText.h"

#include <QList>
#include <QStringDecoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// Whether the bytes decode in the encoding with nothing replaced. Stateless, so a sequence cut
// off at the end counts as an error too.
bool decodes(const char* encoding, const QByteArray& bytes, QString* text) {
    QStringDecoder decode(encoding, QStringDecoder::Flag::Stateless);
    if (!decode.isValid())
        return false;
    QString out = decode(bytes);
    // A decoder may substitute rather than flag; a snapshot holds no replacement character.
    // Qt's UTF-16 decoder passes an unpaired surrogate through unflagged: such a text could
    // not be written back as it was read, so it is no text either.
    if (decode.hasError() || out.contains(QChar::ReplacementCharacter) || !QStringView(out).isValidUtf16())
        return false;
    *text = std::move(out);
    return true;
}

int lineOfOffset(const QByteArray& bytes, qsizetype offset) {
    return static_cast<int>(bytes.left(offset).count('\n')) + 1;
}

// The first line that does not decode. Line feeds never occur inside a multi-byte character
// of UTF-8 or GB18030, so lines decode on their own.
int firstBadLine(const char* encoding, const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    QString ignored;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!decodes(encoding, lines[i], &ignored))
            return static_cast<int>(i) + 1;
    return 1;
}

// A control character that no spreadsheet writes into a text file: what binary data looks like.
bool isBinaryChar(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\f') || c == 0x7F;
}

} // namespace

DecodedText DecodeSpreadsheetText(const QByteArray& bytes) {
    DecodedText result;
    QByteArray body = bytes;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        result.encoding = little ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16BE");
        if (!decodes(little ? "UTF-16LE" : "UTF-16BE", bytes.mid(2), &result.text)) {
            result.fault = DecodedText::Fault::Encoding;
            result.line = 1;
            return result;
        }
    } else {
        if (body.startsWith(kUtf8Bom))
            body.remove(0, kUtf8Bom.size());
        // Control bytes are the same in UTF-8 and GB18030 (neither uses them inside a
        // character), so binary data is found before any decoding.
        for (qsizetype i = 0; i < body.size(); ++i)
            if (isBinaryChar(static_cast<unsigned char>(body[i]))) {
                result.fault = DecodedText::Fault::NotText;
                result.line = lineOfOffset(body, i);
                return result;
            }
        if (decodes("UTF-8", body, &result.text)) {
            result.encoding = QStringLiteral("UTF-8");
        } else if (!bytes.startsWith(kUtf8Bom) && decodes("GB18030", body, &result.text)) {
            result.encoding = QStringLiteral("GB18030");
        } else {
            result.fault = DecodedText::Fault::Encoding;
            // A file marked UTF-8 is judged as UTF-8; otherwise the line GB18030 fails on
            // (every UTF-8 failure is also one there, or the file would have been GB18030).
            result.line = firstBadLine(bytes.startsWith(kUtf8Bom) ? "UTF-8" : "GB18030", body);
            return result;
        }
    }
    for (qsizetype i = 0; i < result.text.size(); ++i)
        if (isBinaryChar(result.text[i].unicode())) {
            result.fault = DecodedText::Fault::NotText;
            result.line = static_cast<int>(result.text.left(i).count(QLatin1Char('\n'))) + 1;
            result.text.clear();
            return result;
        }
    if (result.text.trimmed().isEmpty()) {
        result.fault = DecodedText::Fault::Empty;
        result.text.clear();
    }
    return result;
}
