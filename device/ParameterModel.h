#pragma once

// ParameterModel: the parameters of config.xml's parameter pages and the values automatic
// reading polls, typed, built once from the document. Rows on the pages, commissioning,
// snapshots and the command line work from it, never from controls.
//
// It is also the one place that converts between what is shown and what the device gets:
// hexadecimal fields, choices (by position in the current language's list), plain text, and
// the scaling of polled register values.
//
// Plain values, no I/O after building, no widgets; usable on any one thread. Language codes
// are those of config.xml ("CN", "EN"); an unknown code reads as "CN".

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class XmlDocument;

struct Parameter {
    enum class Kind { Text, Hex, Choice, Separator };

    int page = -1;      // index of its page among the parameter pages
    QString tag;        // the item's element name
    qint32 address = 0; // 0 for a separator
    Kind kind = Kind::Text;
    QString caption; // as config.xml's item gives it
    QString hint;
    QStringList items;  // Choice: the item's own texts
    QStringList values; // Choice: the device value of each position
    // Texts by language code, from the language table where it has them.
    QHash<QString, QString> captions;
    QHash<QString, QStringList> choices;

    bool isSeparator() const { return kind == Kind::Separator; }
    // The caption in a language, the item's own when the table has none.
    QString captionIn(const QString& languageCode) const;
    // The choice texts a box shows in a language (the item's own when the table has none).
    QStringList choicesIn(const QString& languageCode) const;
};

// A value automatic reading shows: register address, scaling and unit.
struct PolledValue {
    int page = -1; // index among the automatic-reading pages
    QString tag;
    qint32 address = 0;
    QString offset; // as written in config.xml ("constA")
    QString factor; // "constM"
    QString unit;
};

struct ParameterPage {
    QString tag;
    QString caption;
    QHash<QString, QString> captions; // by language code
};

class ParameterModel {
public:
    // Builds from a loaded configuration. Items without a readable address are left out (page
    // building names them); separators are kept, in place. A document without parameter pages
    // gives an empty model.
    static ParameterModel fromDocument(const XmlDocument& document);
    // The same from a file; throws AppError when it cannot be read.
    static ParameterModel fromFile(const QString& path);

    // Takes the texts, choices and choice values the document now gives each parameter (the
    // settings editor changes them while the program runs); where they sit, their addresses
    // and kinds stay as built, since their rows do, and so do the polled values. Items the
    // document no longer has keep what they had.
    void updateTexts(const XmlDocument& document);

    const QList<ParameterPage>& pages() const { return m_pages; }
    // Every parameter and separator, page by page in document order.
    const QList<Parameter>& parameters() const { return m_parameters; }
    // The parameters (no separators) of one page, or of all pages for -1.
    QList<const Parameter*> rows(int page = -1) const;
    const Parameter* byTag(const QString& tag) const;
    // The first parameter with the address.
    const Parameter* byAddress(qint32 address) const;
    const QList<PolledValue>& polledValues() const { return m_polled; }
    // The polled value of an automatic-reading row, by its item's tag.
    const PolledValue* polledByTag(const QString& tag) const;
    // GROUP_DYNC's readTimeoutMs, checked (1000 ms when absent or unreasonable).
    int readTimeoutMs() const { return m_readTimeoutMs; }

private:
    QList<ParameterPage> m_pages;
    QList<Parameter> m_parameters;
    QHash<QString, qsizetype> m_byTag;
    QList<PolledValue> m_polled;
    int m_readTimeoutMs = 1000;
};

// What a Write sends for the shown text: a hexadecimal field's number in decimal, a choice's
// device value (by the text's position in the language's list, else in the item's own; a
// text in neither goes as it stands), plain text as it is. Nothing, with the reason in
// *error, for an empty value, a hexadecimal text that is no number, or a choice position
// without a value.
std::optional<QString> DeviceValueOf(const Parameter& parameter, const QString& shown,
                                     const QString& languageCode, QString* error = nullptr);
// What a field shows for a device value: hexadecimal (at least four digits) for a
// hexadecimal field, the choice text in the language for a choice's value (the value itself
// when it matches none), the value as it is otherwise. Nothing when a hexadecimal field
// cannot show it.
std::optional<QString> ShownTextOf(const Parameter& parameter, const QString& deviceValue,
                                   const QString& languageCode);
// A polled register as its label shows it: (raw + offset) * factor. Nothing when the
// scaling does not hold two numbers.
std::optional<QString> ScaledValueOf(const PolledValue& value, quint16 raw, const QString& decimalSeparator);
// The same as a number, for the trend: nothing exactly when the label would show nothing.
std::optional<double> ScaledNumberOf(const PolledValue& value, quint16 raw, const QString& decimalSeparator);
