#include "config/XmlEncoding.h"

#include <QList>
#include <QRegularExpression>
#include <cerrno>
#include <iconv.h>

namespace {

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Converts all of input. At a sequence iconv cannot convert, onInvalid may append a
// replacement to output and return the number of input bytes it stands for; returning 0
// fails the conversion with *failedAt set to the sequence's offset.
template <typename OnInvalid>
bool convertAll(iconv_t cd, const QByteArray& input, QByteArray& output, qsizetype* failedAt,
                OnInvalid onInvalid) {
    output.clear();
    QByteArray chunk(8192, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    bool flushing = false;
    for (;;) {
        char* out = chunk.data();
        size_t outLeft = static_cast<size_t>(chunk.size());
        const size_t result =
            flushing ? iconv(cd, nullptr, nullptr, &out, &outLeft) : iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(chunk.constData(), chunk.size() - static_cast<qsizetype>(outLeft));
        if (result != static_cast<size_t>(-1)) {
            if (flushing)
                return true;
            flushing = true;
            continue;
        }
        if (errno == E2BIG)
            continue;
        const qsizetype offset = in - input.constData();
        const qsizetype used = onInvalid(in, static_cast<qsizetype>(inLeft), output);
        if (used <= 0) {
            *failedAt = offset;
            return false;
        }
        in += used;
        inLeft -= static_cast<size_t>(used);
    }
}

qsizetype utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

QByteArray encodingIn(const QByteArray& declaration) {
    static const QRegularExpression pattern(QStringLiteral(R"(\sencoding\s*=\s*(["'])([^"']*)\1)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(declaration));
    return match.hasMatch() ? match.captured(2).trimmed().toLatin1() : QByteArray();
}

bool isUtf8Name(const QByteArray& name) {
    const QByteArray upper = name.toUpper();
    return upper.isEmpty() || upper == "UTF-8" || upper == "UTF8";
}

} // namespace

XmlEncodingRoute RouteForEncoding(const QByteArray& declared) {
    const QByteArray upper = declared.toUpper();
    if (isUtf8Name(declared))
        return {};
    // GB18030 reads every GB2312 and GBK text, including the GBK characters that files
    // labelled GB2312 by Windows tools often hold; writing in GBK gives those characters
    // back their own bytes, where GB2312 would have nothing for them.
    if (upper == "GB2312" || upper == "GBK" || upper == "CP936")
        return {"GB18030", "GBK"};
    if (upper == "GB18030")
        return {"GB18030", "GB18030"};
    // Every other declared encoding, ISO-8859-1 included, goes through the same conversion,
    // so a character it cannot hold is kept as a reference rather than lost.
    return {declared, declared};
}

QByteArray DeclaredEncoding(const QByteArray& bytes, QString* misplaced) {
    qsizetype start = 0;
    while (start < bytes.size() &&
           (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    // Stray text before the declaration hides it from the parser, but a save would write it
    // first: it is misplaced as much as one behind blank lines. A declaration behind other
    // markup (inside a comment, say) is not the file's.
    start = bytes.indexOf('<', start);
    if (start < 0 || bytes.mid(start, 5) != "<?xml")
        return {};
    const qsizetype end = bytes.indexOf("?>", start);
    if (end < 0)
        return {};
    const QByteArray declared = encodingIn(bytes.mid(start, end - start));
    if (start == 0)
        return declared;
    if (!isUtf8Name(declared) && misplaced) {
        const qsizetype line = bytes.left(start).count('\n') + 1;
        *misplaced =
            QStringLiteral("its XML declaration (encoding \"%1\") stands on line %2 instead of at the "
                           "very start of the file; remove what comes before it")
                .arg(QString::fromLatin1(declared))
                .arg(line);
    }
    return {};
}

bool DecodeToUtf8(const QByteArray& bytes, const QByteArray& decoder, QByteArray* text, qsizetype* failedAt) {
    IconvHandle cd("UTF-8", decoder.constData());
    if (!cd.valid()) {
        *failedAt = -1;
        return false;
    }
    return convertAll(cd.get(), bytes, *text, failedAt,
                      [](const char*, qsizetype, QByteArray&) { return 0; });
}

bool EncodeFromUtf8(const QByteArray& text, const QByteArray& encoder, QByteArray* bytes) {
    IconvHandle cd(encoder.constData(), "UTF-8");
    if (!cd.valid())
        return false;
    qsizetype failedAt = 0;
    return convertAll(cd.get(), text, *bytes, &failedAt,
                      [](const char* at, qsizetype left, QByteArray& output) {
                          const qsizetype length = utf8SequenceLength(static_cast<unsigned char>(*at));
                          if (length == 0 || length > left)
                              return qsizetype(0);
                          const QList<uint> codes = QString::fromUtf8(at, length).toUcs4();
                          if (codes.size() != 1)
                              return qsizetype(0);
                          output += "&#x" + QByteArray::number(codes.front(), 16).toUpper() + ';';
                          return length;
                      });
}

bool Encodable(const QByteArray& utf8Text, const QByteArray& encoder) {
    IconvHandle cd(encoder.constData(), "UTF-8");
    QByteArray out;
    qsizetype failedAt = 0;
    return cd.valid() && convertAll(cd.get(), utf8Text, out, &failedAt,
                                    [](const char*, qsizetype, QByteArray&) { return 0; });
}
