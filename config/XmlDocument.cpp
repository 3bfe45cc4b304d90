#include "config/XmlDocument.h"

#include "config/AppError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <pugixml.hpp>
#include <unistd.h>

struct XmlDocumentState {
    std::unique_ptr<pugi::xml_document> doc = std::make_unique<pugi::xml_document>();
    bool prepared = false;
    pugi::xml_encoding encoding = pugi::encoding_utf8; // what pugixml writes
    QByteArray iconvEncoding; // when set, pugixml's UTF-8 is converted to this on saving
    bool byteOrderMark = false;
    // The element child last taken by position, so that walking a section entry by entry
    // costs one step per entry instead of a walk from the first child each time. Elements are
    // only ever appended, never removed, so a remembered position stays right; a load resets it.
    struct ChildCursor {
        pugi::xml_node_struct* parent = nullptr;
        int index = -1;
        pugi::xml_node_struct* node = nullptr;
    };
    mutable ChildCursor cursor;
};

namespace {

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}
QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}
pugi::xml_node nodeOf(pugi::xml_node_struct* node) {
    return pugi::xml_node(node);
}

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

AppError readError(const QString& path, const QString& reason) {
    return AppError(
        QStringLiteral("Could not read the configuration file '%1': %2").arg(shownPath(path), reason));
}

AppError saveError(const QString& path, const QString& reason) {
    return AppError(
        QStringLiteral("Could not save the configuration file '%1': %2").arg(shownPath(path), reason));
}

QString elementPath(pugi::xml_node node) {
    QStringList names;
    for (; node && node.type() == pugi::node_element; node = node.parent())
        names.prepend(fromUtf8(node.name()));
    return names.join(u'/');
}

// The encoding named in the XML declaration, if the file starts with one in ASCII bytes.
QByteArray declaredEncoding(const QByteArray& bytes) {
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression pattern(QStringLiteral(R"(\sencoding\s*=\s*(["'])([^"']*)\1)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(bytes.left(end)));
    return match.hasMatch() ? match.captured(2).trimmed().toLatin1() : QByteArray();
}

// Encodings pugixml reads and writes by itself; any other declared one goes through iconv.
bool pugixmlKnows(const QByteArray& encoding) {
    const QByteArray upper = encoding.toUpper();
    return upper.isEmpty() || upper == "UTF-8" || upper == "UTF8" || upper == "ISO-8859-1" ||
           upper == "LATIN1";
}

QByteArray iconvDecoderFor(const QByteArray& declared) {
    const QByteArray upper = declared.toUpper();
    // GB18030 decodes every GB2312 and GBK text, including the GBK characters that files
    // labelled GB2312 by Windows tools often contain.
    if (upper == "GB2312" || upper == "GBK" || upper == "GB18030")
        return "GB18030";
    return declared;
}

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

// A character the target encoding lacks becomes a character reference, so the text reads
// back unchanged. Inside a comment it would show as the reference itself; configuration
// texts live in attributes, where it is exact.
QByteArray encodeFromUtf8(const QByteArray& text, const QByteArray& encoding, const QString& path) {
    IconvHandle cd(encoding.constData(), "UTF-8");
    if (!cd.valid())
        throw saveError(
            path, QStringLiteral("the encoding '%1' is not supported").arg(QString::fromLatin1(encoding)));
    QByteArray out;
    qsizetype failedAt = 0;
    const bool ok =
        convertAll(cd.get(), text, out, &failedAt, [](const char* at, qsizetype left, QByteArray& output) {
            const qsizetype length = utf8SequenceLength(static_cast<unsigned char>(*at));
            if (length == 0 || length > left)
                return qsizetype(0);
            const QList<uint> codes = QString::fromUtf8(at, length).toUcs4();
            if (codes.size() != 1)
                return qsizetype(0);
            output += "&#x" + QByteArray::number(codes.front(), 16).toUpper() + ';';
            return length;
        });
    if (!ok)
        throw saveError(path, QStringLiteral("its text cannot be written in the encoding '%1'")
                                  .arg(QString::fromLatin1(encoding)));
    return out;
}

QString lineAndColumn(const QByteArray& text, qsizetype offset) {
    offset = qBound<qsizetype>(0, offset, text.size());
    const qsizetype line = text.left(offset).count('\n') + 1;
    const qsizetype lineStart = text.lastIndexOf('\n', offset - 1) + 1;
    return QStringLiteral("line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

constexpr unsigned parseOptions = pugi::parse_full; // keeps comments, PIs, doctype, declaration

} // namespace

XmlNode XmlNode::missing(const XmlDocumentState* doc, QString path) {
    XmlNode node(nullptr, doc);
    node.m_missingPath = std::move(path);
    return node;
}

void XmlNode::throwMissing() const {
    if (m_missingPath.isEmpty())
        throw AppError(QStringLiteral("The configuration element does not exist"));
    throw AppError(QStringLiteral("The configuration file has no element %1").arg(m_missingPath));
}

QString XmlNode::tagName() const {
    return isNull() ? QString() : fromUtf8(nodeOf(m_node).name());
}

int XmlNode::childCount() const {
    int count = 0;
    if (!isNull())
        for (pugi::xml_node child : nodeOf(m_node).children())
            count += child.type() == pugi::node_element ? 1 : 0;
    return count;
}

XmlNode XmlNode::child(int index) const {
    if (!isNull() && index >= 0) {
        auto nextElement = [](pugi::xml_node n) {
            while (n && n.type() != pugi::node_element)
                n = n.next_sibling();
            return n;
        };
        pugi::xml_node node;
        int position = 0;
        if (m_doc && m_doc->cursor.parent == m_node && m_doc->cursor.index <= index) {
            node = pugi::xml_node(m_doc->cursor.node);
            position = m_doc->cursor.index;
        } else {
            node = nextElement(nodeOf(m_node).first_child());
        }
        for (; node; node = nextElement(node.next_sibling()), ++position) {
            if (position == index) {
                if (m_doc)
                    m_doc->cursor = {m_node, index, node.internal_object()};
                return XmlNode(node.internal_object(), m_doc);
            }
        }
    }
    throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

XmlNode XmlNode::findChild(const QString& name) const {
    if (isNull())
        return *this; // keep naming the first element that was missing
    const pugi::xml_node found = nodeOf(m_node).child(utf8(name).constData());
    if (found)
        return XmlNode(found.internal_object(), m_doc);
    return missing(m_doc, elementPath(nodeOf(m_node)) + u'/' + name);
}

bool XmlNode::hasAttribute(const QString& name) const {
    return !isNull() && nodeOf(m_node).attribute(utf8(name).constData());
}

QString XmlNode::readAttribute(const QString& name) const {
    if (isNull())
        throwMissing();
    const pugi::xml_attribute attribute = nodeOf(m_node).attribute(utf8(name).constData());
    if (attribute)
        return fromUtf8(attribute.value());
    if (m_doc && m_doc->prepared)
        return QString();
    throw AppError(QStringLiteral("Could not convert variant of type (Null) into type (OleStr)"));
}

bool XmlNode::attributeEquals(const QString& name, const QString& keyword) const {
    if (isNull())
        return false;
    const pugi::xml_attribute attribute = nodeOf(m_node).attribute(utf8(name).constData());
    return attribute && fromUtf8(attribute.value()) == keyword;
}

void XmlNode::writeAttribute(const QString& name, const QString& text) {
    if (isNull())
        throwMissing();
    pugi::xml_node node = nodeOf(m_node);
    const QByteArray key = utf8(name);
    pugi::xml_attribute attribute = node.attribute(key.constData());
    if (!attribute)
        attribute = node.append_attribute(key.constData());
    attribute.set_value(utf8(text).constData());
}

XmlNode XmlNode::appendChild(const QString& name) {
    if (isNull())
        throwMissing();
    if (m_doc)
        m_doc->cursor = {};
    return XmlNode(nodeOf(m_node).append_child(utf8(name).constData()).internal_object(), m_doc);
}

XmlDocument::XmlDocument() : d(std::make_unique<XmlDocumentState>()) {
    pugi::xml_node declaration = d->doc->append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
}

XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

XmlDocumentState& XmlDocument::state() {
    if (!d)
        d = std::make_unique<XmlDocumentState>();
    return *d;
}

void XmlDocument::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw readError(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw readError(path, file.errorString());

    const bool byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (byteOrderMark)
        bytes.remove(0, 3);
    const QByteArray declared = declaredEncoding(bytes.left(512));

    auto fresh = std::make_unique<pugi::xml_document>();
    pugi::xml_encoding encoding = pugi::encoding_utf8;
    QByteArray iconvEncoding;
    pugi::xml_parse_result result;
    if (!pugixmlKnows(declared)) {
        IconvHandle cd("UTF-8", iconvDecoderFor(declared).constData());
        if (!cd.valid())
            throw readError(path, QStringLiteral("its declared encoding '%1' is not supported")
                                      .arg(QString::fromLatin1(declared)));
        QByteArray text;
        qsizetype failedAt = 0;
        if (!convertAll(cd.get(), bytes, text, &failedAt,
                        [](const char*, qsizetype, QByteArray&) { return 0; }))
            throw readError(path, QStringLiteral("byte %1 is not valid in its declared encoding '%2'")
                                      .arg(failedAt + (byteOrderMark ? 3 : 0))
                                      .arg(QString::fromLatin1(declared)));
        result = fresh->load_buffer(text.constData(), static_cast<size_t>(text.size()), parseOptions,
                                    pugi::encoding_utf8);
        if (!result)
            throw readError(path,
                            QStringLiteral("%1 at %2")
                                .arg(fromUtf8(result.description()), lineAndColumn(text, result.offset)));
        iconvEncoding = declared;
    } else {
        result = fresh->load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()), parseOptions,
                                    pugi::encoding_auto);
        if (result.encoding == pugi::encoding_utf8) {
            // pugixml passes invalid UTF-8 through; saving it would garble the bytes for good.
            QStringDecoder decoder(QStringDecoder::Utf8);
            (void)QString(decoder(bytes));
            if (decoder.hasError())
                throw readError(path, QStringLiteral("it is not valid UTF-8 text; a file in another encoding "
                                                     "must declare it, e.g. <?xml version=\"1.0\" "
                                                     "encoding=\"GB18030\"?>"));
        }
        if (!result)
            throw readError(path,
                            QStringLiteral("%1 at %2")
                                .arg(fromUtf8(result.description()), lineAndColumn(bytes, result.offset)));
        encoding = result.encoding;
    }

    XmlDocumentState& s = state();
    s.doc = std::move(fresh);
    s.cursor = {};
    s.encoding = encoding;
    s.iconvEncoding = iconvEncoding;
    s.byteOrderMark = byteOrderMark;
}

void XmlDocument::prepareForWriting() {
    state().prepared = true;
}

bool XmlDocument::preparedForWriting() const {
    return d && d->prepared;
}

XmlNode XmlDocument::findRoot() const {
    if (d)
        for (pugi::xml_node node : d->doc->children())
            if (node.type() == pugi::node_element && std::strcmp(node.name(), "TERVALON") == 0)
                return XmlNode(node.internal_object(), d.get());
    return XmlNode::missing(d.get(), QStringLiteral("TERVALON"));
}

XmlNode XmlDocument::createRoot(const QString& name) {
    XmlDocumentState& s = state();
    return XmlNode(s.doc->append_child(utf8(name).constData()).internal_object(), &s);
}

void XmlDocument::save(const QString& path) const {
    ByteWriter writer;
    if (d) {
        // The declaration, when the document has one, is written as a node like any other,
        // so the file's own stays as it was and none is added to a file that had none.
        unsigned flags = pugi::format_indent | pugi::format_no_declaration;
        if (d->byteOrderMark && d->iconvEncoding.isEmpty())
            flags |= pugi::format_write_bom;
        d->doc->save(writer, "\t", flags, d->iconvEncoding.isEmpty() ? d->encoding : pugi::encoding_utf8);
    }
    const QByteArray bytes = d && !d->iconvEncoding.isEmpty()
                                 ? encodeFromUtf8(writer.bytes, d->iconvEncoding, path)
                                 : writer.bytes;

    // Unbuffered, so a failing write (disk full) is seen here: with Qt's buffer the error
    // would surface only inside commit(), which then renames the truncated file anyway.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw saveError(path, file.errorString());
    if (file.write(bytes) != bytes.size())
        throw saveError(path, file.errorString());
    if (::fsync(file.handle()) != 0)
        throw saveError(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit())
        throw saveError(path, file.errorString());
}

XmlDocument XmlDocument::openForWriting(const QString& path) {
    XmlDocument document;
    document.load(path);
    document.prepareForWriting();
    return document;
}
