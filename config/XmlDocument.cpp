#include "config/XmlDocument.h"

#include "config/AppError.h"
#include "config/FileReplace.h"
#include "config/XmlEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <pugixml.hpp>
#include <sys/stat.h>
#include <unistd.h>

struct XmlDocumentState {
    std::unique_ptr<pugi::xml_document> doc = std::make_unique<pugi::xml_document>();
    bool prepared = false;
    pugi::xml_encoding encoding = pugi::encoding_utf8; // what pugixml writes
    XmlEncodingRoute route; // when not native, pugixml's UTF-8 goes through these converters
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
    QString path;        // the file it was loaded from
    QByteArray lineText; // the UTF-8 text the parser read, for line numbers; empty when unknown
    ~XmlDocumentState();
};

namespace {

// The attribute read last on this thread, so that an error about its value can say where the
// value came from. Cleared when its document goes.
struct LastRead {
    const XmlDocumentState* doc = nullptr;
    pugi::xml_node_struct* node = nullptr;
    QString attribute;
    bool present = false;
};
thread_local LastRead lastRead;

} // namespace

XmlDocumentState::~XmlDocumentState() {
    if (lastRead.doc == this)
        lastRead = {};
}

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

// Why a read or a save did not happen, in a language.
using SaveReason = std::function<QString(Language)>;

// The reason is the system's or the parser's own words where it comes from them.
WordedError readError(const QString& path, const SaveReason& reason) {
    const auto text = [&](Language language) {
        return language.translate("XmlDocument", "Could not read the configuration file '%1': %2")
            .arg(shownPath(path), reason(language));
    };
    return WordedError(text(Language::english()), text(Language::chinese()));
}
WordedError readError(const QString& path, const QString& reason) {
    return readError(path, [&](Language) { return reason; });
}

SaveError saveError(const QString& path, const SaveReason& reason) {
    const auto text = [&](Language language) {
        return language.translate("XmlDocument", "Could not save the configuration file '%1': %2")
            .arg(shownPath(path), reason(language));
    };
    return SaveError(text(Language::english()), text(Language::chinese()));
}

QString elementPath(pugi::xml_node node) {
    QStringList names;
    for (; node && node.type() == pugi::node_element; node = node.parent())
        names.prepend(fromUtf8(node.name()));
    return names.join(u'/');
}

// In English unless asked: the parser's own descriptions it follows are English.
QString lineAndColumn(const QByteArray& text, qsizetype offset, Language language = Language::english()) {
    offset = qBound<qsizetype>(0, offset, text.size());
    const qsizetype line = text.left(offset).count('\n') + 1;
    const qsizetype lineStart = text.lastIndexOf('\n', offset - 1) + 1;
    return language.translate("XmlDocument", "line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

constexpr unsigned parseOptions = pugi::parse_full; // keeps comments, PIs, doctype, declaration

QString tooLargeText(Language language) {
    return language.translate("XmlDocument", "it is larger than %1 MiB, far more than any configuration needs")
        .arg(MaxConfigFileBytes / (1024 * 1024));
}

// The first element nested deeper than the limit, or null.
pugi::xml_node tooDeep(const pugi::xml_document& doc) {
    struct Walker : pugi::xml_tree_walker {
        pugi::xml_node found;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_element && depth() >= MaxNestingDepth) {
                found = node;
                return false;
            }
            return true;
        }
    } walker;
    const_cast<pugi::xml_document&>(doc).traverse(walker);
    return walker.found;
}

struct ParsedXml {
    std::unique_ptr<pugi::xml_document> doc;
    pugi::xml_encoding encoding = pugi::encoding_utf8;
    XmlEncodingRoute route;
    bool byteOrderMark = false;
    QByteArray lineText;
};

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// The whole file, refused unless it is a regular file. Opened without waiting: a FIFO would
// otherwise hold the window until some other program opens its far end, and a device may act
// on being read.
QByteArray readRegularFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw readError(path, QString::fromLocal8Bit(std::strerror(errno)));
    FdCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw readError(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISDIR(st.st_mode))
        throw readError(path, [](Language language) {
            return language.translate("XmlDocument", "it is a folder, not a file");
        });
    if (!S_ISREG(st.st_mode))
        throw readError(path, [](Language language) {
            return language.translate("XmlDocument", "it is not a regular file but a pipe, device or socket");
        });
    if (st.st_size > MaxConfigFileBytes)
        throw readError(path, tooLargeText);
    // Read no more than the limit allows, whatever size the file claims.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw readError(path, QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (n == 0)
            break;
        bytes.append(chunk, n);
        if (bytes.size() > MaxConfigFileBytes)
            throw readError(path, tooLargeText);
    }
    return bytes;
}

// Bytes in a declared encoding pugixml cannot read go through a converter to UTF-8 first.
pugi::xml_parse_result loadConverted(ParsedXml& parsed, const QByteArray& bytes, const QByteArray& declared,
                                     QByteArray& converted, const QString& path) {
    qsizetype failedAt = 0;
    if (!DecodeToUtf8(bytes, parsed.route.decoder, &converted, &failedAt)) {
        if (failedAt < 0)
            throw readError(path, [&](Language language) {
                return language.translate("XmlDocument", "its declared encoding '%1' is not supported")
                    .arg(QString::fromLatin1(declared));
            });
        throw readError(path, [&](Language language) {
            return language.translate("XmlDocument", "byte %1 is not valid in its declared encoding '%2'")
                .arg(failedAt + (parsed.byteOrderMark ? 3 : 0))
                .arg(QString::fromLatin1(declared));
        });
    }
    return parsed.doc->load_buffer(converted.constData(), static_cast<size_t>(converted.size()), parseOptions,
                                   pugi::encoding_utf8);
}

// Bytes pugixml reads itself, in the Unicode form it finds.
pugi::xml_parse_result loadNative(ParsedXml& parsed, const QByteArray& bytes, const QString& path) {
    const pugi::xml_parse_result result = parsed.doc->load_buffer(
        bytes.constData(), static_cast<size_t>(bytes.size()), parseOptions, pugi::encoding_auto);
    // A UTF-16 or UTF-32 byte order mark stays too; a save writes the mark of the encoding
    // it writes in, once.
    if (result.encoding != pugi::encoding_utf8 &&
        (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
         bytes.startsWith(QByteArray("\0\0\xFE\xFF", 4))))
        parsed.byteOrderMark = true;
    if (result.encoding == pugi::encoding_utf8) {
        // pugixml passes invalid UTF-8 through; saving it would garble the bytes for good.
        QStringDecoder decoder(QStringDecoder::Utf8);
        (void)QString(decoder(bytes));
        if (decoder.hasError())
            throw readError(path, [](Language language) {
                return language.translate("XmlDocument",
                                          "it is not valid UTF-8 text; a file in another encoding must declare "
                                          "it, e.g. <?xml version=\"1.0\" encoding=\"GB18030\"?>");
            });
    }
    parsed.encoding = result.encoding;
    return result;
}

// A syntax error or too deep nesting, placed by line and column in the text pugixml parsed.
void checkParsed(const pugi::xml_parse_result& result, const pugi::xml_document& doc, const QByteArray& text,
                 const QString& path) {
    if (!result)
        throw readError(path, QStringLiteral("%1 at %2")
                                  .arg(fromUtf8(result.description()), lineAndColumn(text, result.offset)));
    if (const pugi::xml_node deep = tooDeep(doc)) {
        const ptrdiff_t offset = deep.offset_debug();
        throw readError(path, [&](Language language) {
            const QString place = offset >= 0 ? lineAndColumn(text, offset, language)
                                              : QStringLiteral("<%1>").arg(fromUtf8(deep.name()));
            return language.translate("XmlDocument", "its elements are nested more than %1 levels deep (at %2)")
                .arg(MaxNestingDepth)
                .arg(place);
        });
    }
}

// The encoding the bytes were read in must be the one the parsed declaration names: a save
// writes the declaration from what was parsed, so a declaration the parser ended early (at
// "/>", say) would lose its encoding and the saved file would be read in another one.
void checkDeclarationNames(const pugi::xml_document& doc, const QByteArray& declared, const QString& path) {
    pugi::xml_node first = doc.first_child();
    while (first && first.type() == pugi::node_pcdata)
        first = first.next_sibling();
    const QByteArray named = first.type() == pugi::node_declaration
                                 ? QByteArray(first.attribute("encoding").value()).trimmed()
                                 : QByteArray();
    if (named.compare(declared, Qt::CaseInsensitive) != 0)
        throw readError(path, [&](Language language) {
            return language
                .translate("XmlDocument", "its XML declaration is malformed; write it as <?xml version=\"1.0\" "
                                          "encoding=\"%1\"?>")
                .arg(QString::fromLatin1(declared));
        });
}

// The one way bytes become a document, for loading and for checking what a save wrote.
ParsedXml parseConfigBytes(QByteArray bytes, const QString& path) {
    ParsedXml parsed;
    parsed.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (parsed.byteOrderMark)
        bytes.remove(0, 3);
    QString misplaced;
    // The whole declaration, however long: cut short, a long one was read as UTF-8 here while
    // its own save, shorter once references became characters, was read in its encoding.
    const QByteArray declared = DeclaredEncoding(bytes, &misplaced);
    if (!misplaced.isEmpty())
        throw readError(path, misplaced);
    parsed.route = RouteForEncoding(declared);
    parsed.doc = std::make_unique<pugi::xml_document>();

    if (parsed.route.native()) {
        checkParsed(loadNative(parsed, bytes, path), *parsed.doc, bytes, path);
        // pugixml reads UTF-16 and UTF-32 through a buffer of its own; offsets then are not
        // into these bytes.
        if (parsed.encoding == pugi::encoding_utf8)
            parsed.lineText = bytes;
    } else {
        QByteArray converted;
        const pugi::xml_parse_result result = loadConverted(parsed, bytes, declared, converted, path);
        checkParsed(result, *parsed.doc, converted, path);
        checkDeclarationNames(*parsed.doc, declared, path);
        parsed.lineText = converted;
    }
    return parsed;
}

void adopt(XmlDocumentState& s, ParsedXml&& parsed) {
    s.doc = std::move(parsed.doc);
    s.cursor = {};
    s.encoding = parsed.encoding;
    s.route = parsed.route;
    s.byteOrderMark = parsed.byteOrderMark;
    s.lineText = std::move(parsed.lineText);
    if (lastRead.doc == &s)
        lastRead = {};
}

// The document as plain UTF-8 markup: equal for two documents exactly when they hold the
// same nodes, names, attributes and texts in the same order.
QByteArray canonicalForm(const pugi::xml_document& doc) {
    ByteWriter writer;
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.bytes;
}

// Markup where a character reference cannot stand must be writable as it is.
void checkWritableInEncoding(const pugi::xml_document& doc, const QByteArray& encoder, const QString& path) {
    struct Walker : pugi::xml_tree_walker {
        const QByteArray* encoder = nullptr;
        const char* refusedPart = nullptr; // which part, as a catalogue source
        QString refused;                   // its text
        bool check(const char* text, const char* part) {
            if (*text && !Encodable(QByteArray(text), *encoder)) {
                refusedPart = part;
                refused = fromUtf8(text);
                return false;
            }
            return true;
        }
        bool for_each(pugi::xml_node& node) override {
            switch (node.type()) {
            case pugi::node_element:
                if (!check(node.name(), QT_TRANSLATE_NOOP("XmlDocument", "the name")))
                    return false;
                for (pugi::xml_attribute a : node.attributes())
                    if (!check(a.name(), QT_TRANSLATE_NOOP("XmlDocument", "the attribute name")))
                        return false;
                return true;
            case pugi::node_comment:
                return check(node.value(), QT_TRANSLATE_NOOP("XmlDocument", "the comment"));
            case pugi::node_pi:
            case pugi::node_declaration:
                return check(node.name(), QT_TRANSLATE_NOOP("XmlDocument", "the processing instruction")) &&
                       check(node.value(), QT_TRANSLATE_NOOP("XmlDocument", "the processing instruction"));
            case pugi::node_doctype:
                return check(node.value(), QT_TRANSLATE_NOOP("XmlDocument", "the document type"));
            default:
                return true;
            }
        }
    } walker;
    walker.encoder = &encoder;
    const_cast<pugi::xml_document&>(doc).traverse(walker);
    if (walker.refusedPart)
        throw saveError(path, [&](Language language) {
            return language
                .translate("XmlDocument", "%1 \"%2\" cannot be written in the file's encoding '%3'")
                .arg(language.translate("XmlDocument", walker.refusedPart), walker.refused,
                     QString::fromLatin1(encoder));
        });
}

// The bytes a save writes: tab-indented, in the file's own encoding.
QByteArray serialized(const XmlDocumentState& s, const QString& path) {
    ByteWriter writer;
    // The declaration, when the document has one, is written as a node like any other,
    // so the file's own stays as it was and none is added to a file that had none.
    unsigned flags = pugi::format_indent | pugi::format_no_declaration;
    if (s.byteOrderMark && s.route.native())
        flags |= pugi::format_write_bom;
    s.doc->save(writer, "\t", flags, s.route.native() ? s.encoding : pugi::encoding_utf8);
    if (s.route.native())
        return writer.bytes;
    checkWritableInEncoding(*s.doc, s.route.encoder, path);
    QByteArray bytes;
    if (!EncodeFromUtf8(writer.bytes, s.route.encoder, &bytes))
        throw saveError(path, [&](Language language) {
            return language.translate("XmlDocument", "the encoding '%1' is not supported")
                .arg(QString::fromLatin1(s.route.encoder));
        });
    return s.byteOrderMark ? "\xEF\xBB\xBF" + bytes : bytes;
}

// True when the file at path reads as a document of exactly this content.
bool fileHolds(const QString& path, const QByteArray& content) {
    try {
        return canonicalForm(*parseConfigBytes(readRegularFile(path), path).doc) == content;
    } catch (const AppError&) {
        return false;
    }
}

// The bytes kept in memory for a file used read-only: the file's own form when that reads
// back as this document, else UTF-8 without a declaration, which always does. Nothing of it
// reaches the disk, so it need not be in the file's encoding.
QByteArray keptForm(const XmlDocumentState& s, const QString& path) {
    try {
        QByteArray bytes = serialized(s, path);
        if (canonicalForm(*parseConfigBytes(bytes, path).doc) == canonicalForm(*s.doc))
            return bytes;
    } catch (const AppError&) {
    }
    pugi::xml_document copy;
    copy.reset(*s.doc);
    for (pugi::xml_node node = copy.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_declaration)
            copy.remove_child(node);
        node = next;
    }
    ByteWriter writer;
    copy.save(writer, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.bytes;
}

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
    lastRead = {m_doc, m_node, name, bool(attribute)};
    if (attribute)
        return fromUtf8(attribute.value());
    if (m_doc && m_doc->prepared)
        return QString();
    throw AppError(QStringLiteral("Could not convert variant of type (Null) into type (OleStr)"),
                   AppError::Kind::Value);
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
    if (UsedReadOnly(path)) {
        if (QByteArray kept = KeptForRun(path); !kept.isNull()) {
            adopt(state(), parseConfigBytes(std::move(kept), path));
            d->path = path;
            return;
        }
    }
    QByteArray bytes = readRegularFile(path);
    adopt(state(), parseConfigBytes(std::move(bytes), path));
    d->path = path;
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
    if (!d)
        return;
    if (UsedReadOnly(path)) {
        KeepForRun(path, keptForm(*d, path));
        return;
    }
    const QByteArray content = canonicalForm(*d->doc);
    // A document the file already holds is not written again: nothing changes on disk, a file
    // that cannot be written (or not in its own encoding) is no obstacle, and its owner and
    // time stamps stay.
    if (fileHolds(path, content))
        return;
    const QByteArray bytes = serialized(*d, path);

    // What was written must read back, with the loader the program starts with, as the same
    // document; otherwise the old file stays.
    try {
        const ParsedXml back = parseConfigBytes(bytes, path);
        if (canonicalForm(*back.doc) != content)
            throw saveError(path, [](Language language) {
                return language.translate("XmlDocument",
                                          "what would be written does not read back as the same document");
            });
    } catch (const SaveError&) {
        throw;
    } catch (const AppError& e) {
        throw saveError(path, [&](Language language) {
            return language.translate("XmlDocument", "what would be written could not be read back: %1")
                .arg(e.textIn(language));
        });
    }

    if (const int err = ReplaceFileContent(path, bytes))
        throw saveError(path, [err](Language language) { return FileErrorText(err, language); });
}

XmlDocument XmlDocument::openForWriting(const QString& path) {
    XmlDocument document;
    document.load(path);
    document.prepareForWriting();
    return document;
}

XmlReadPlace LastAttributeRead() {
    XmlReadPlace place;
    if (!lastRead.node)
        return place;
    const pugi::xml_node node(lastRead.node);
    place.element = elementPath(node);
    place.attribute = lastRead.attribute;
    place.present = lastRead.present;
    if (lastRead.doc) {
        place.file = lastRead.doc->path;
        const ptrdiff_t offset = node.offset_debug();
        const QByteArray& text = lastRead.doc->lineText;
        if (offset >= 0 && offset <= text.size())
            place.line = int(text.left(offset).count('\n')) + 1;
    }
    return place;
}
