#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace pugi {
struct xml_node_struct;
}

struct XmlDocumentState;

// A handle to one element of an XmlDocument; valid while the document lives and is not
// reloaded. Handles are cheap to copy. A null handle (nothing found) answers reads with
// nothing and refuses reads of attribute text and all writes with an error naming the
// element that was missing.
class XmlNode {
public:
    XmlNode() = default;

    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return !isNull(); }

    QString tagName() const;

    // Entries are the element children only: comments, processing instructions and text
    // between them do not count.
    int childCount() const;
    // Throws AppError("List index out of bounds (<index>)") outside 0..childCount()-1.
    XmlNode child(int index) const;
    // The first element child of that name; the rest are ignored.
    XmlNode findChild(const QString& name) const;

    bool hasAttribute(const QString& name) const;
    // An absent attribute has no value in a document read as it stands, and reading it as
    // text throws AppError("Could not convert variant of type (Null) into type (OleStr)");
    // in a document prepared for writing it reads as "".
    QString readAttribute(const QString& name) const;
    // Exact, case-sensitive comparison; an absent attribute matches nothing.
    bool attributeEquals(const QString& name, const QString& keyword) const;

    // Creates or replaces the attribute.
    void writeAttribute(const QString& name, const QString& text);
    // Adds an element as the last child and returns it.
    XmlNode appendChild(const QString& name);

private:
    friend class XmlDocument;
    XmlNode(pugi::xml_node_struct* node, const XmlDocumentState* doc) : m_node(node), m_doc(doc) {}
    static XmlNode missing(const XmlDocumentState* doc, QString path);
    [[noreturn]] void throwMissing() const;

    pugi::xml_node_struct* m_node = nullptr;
    const XmlDocumentState* m_doc = nullptr;
    QString m_missingPath; // on a null handle: the element that was looked for, e.g. TERVALON/COMM
};

// Where a value came from: the attribute read last on this thread, with its element's path
// (TERVALON/COMM), the file and the element's line (0 when unknown). Empty element when
// nothing was read since its document was loaded, or the document is gone.
struct XmlReadPlace {
    QString file;
    QString element;
    QString attribute;
    int line = 0;
    bool present = false; // the attribute was there (its value was wrong), or absent
};
XmlReadPlace LastAttributeRead();

// Limits on what a configuration file may be: far above any real configuration (the bundled
// example is 18 KB and 5 levels deep), low enough that a damaged or hostile file is refused
// at once instead of taking the memory and minutes it would need.
constexpr qint64 MaxConfigFileBytes = 32LL * 1024 * 1024;
constexpr int MaxNestingDepth = 32;

// The configuration file as an ordered element tree. Loading keeps comments, processing
// instructions, the document type and the XML declaration, so a hand-edited file keeps them
// through a save.
//
// Encoding: new files are UTF-8. A file that declares another encoding (GB2312, GBK and
// GB18030 from Chinese Windows systems above all) is decoded with iconv and written back in
// that encoding; a character the encoding cannot hold is written as a character reference
// (&#x...;) in texts and attribute values, which reads back as the same character. Loading
// and saving take the encoding from the same place (XmlEncoding.h).
class XmlDocument {
public:
    // An empty XML 1.0 document.
    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Replaces the content with the file's. On failure (unreadable file, malformed XML, bytes
    // invalid in the file's encoding, a file or nesting beyond the limits above, anything but
    // a regular file) throws AppError naming the path, and the document keeps its previous
    // content. Never waits on a FIFO or device.
    void load(const QString& path);

    // Absent attributes then read as "". Saving always indents with one tab per level.
    void prepareForWriting();
    bool preparedForWriting() const;

    // The first top-level element named TERVALON; null if there is none.
    XmlNode findRoot() const;
    // Adds a top-level element, for building a document from nothing.
    XmlNode createRoot(const QString& name);

    // Writes a temporary file in the same folder and renames it over path, so a failed or
    // interrupted save leaves the previous file whole. The bytes are first read back as the
    // loader reads them and must give this very document. Nothing is written, and nothing
    // checked, when the file already holds this document (a file this program could never
    // write is no obstacle then), or when it is used read-only (FileReplace.h). Through a
    // symbolic link the link's target is replaced. Failures throw SaveError naming path and
    // saying what happened; the old file stays.
    void save(const QString& path) const;

    // Create, load and prepare for writing: the start of every write and lookup.
    static XmlDocument openForWriting(const QString& path);

private:
    XmlDocumentState& state();

    std::unique_ptr<XmlDocumentState> d;
};
