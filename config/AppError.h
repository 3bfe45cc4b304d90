#pragma once

#include "config/Language.h"

#include <QByteArray>
#include <QString>
#include <exception>
#include <utility>

// An error whose text is shown to the user as it stands, by the general error box or by
// the caller's own message. Texts are exact: users and tests compare them.
class AppError : public std::exception {
public:
    // Value: the error is about a value just read (absent, not a number, a theme that does not
    // exist), so the place it was read from tells the user what to mend.
    enum class Kind { General, Value };

    explicit AppError(QString text, Kind kind = Kind::General)
        : m_text(std::move(text)), m_utf8(m_text.toUtf8()), m_kind(kind) {}
    virtual ~AppError() = default;
    const QString& text() const noexcept { return m_text; }
    // The text for a person reading the given language. Most errors carry one text (a value
    // from the file, a system message); those worded by the program itself say it in both.
    virtual QString textIn(Language) const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }
    Kind kind() const noexcept { return m_kind; }

private:
    QString m_text;
    QByteArray m_utf8;
    Kind m_kind;
};

// An error the program words itself, in both languages, for a reader whose language the
// thrower does not know; text() is the English.
class WordedError : public AppError {
public:
    WordedError(QString english, QString chinese)
        : AppError(std::move(english)), m_chinese(std::move(chinese)) {}
    QString textIn(Language language) const override { return language.isEnglish() ? text() : m_chinese; }

private:
    QString m_chinese;
};

// A save that did not happen: the file on disk is as it was.
class SaveError : public WordedError {
public:
    using WordedError::WordedError;
};
