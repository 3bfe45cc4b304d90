#pragma once

#include <QByteArray>
#include <QString>
#include <exception>
#include <utility>

// An error whose text is shown to the user as it stands, by the general error box or by
// the caller's own message. Texts are exact: users and tests compare them.
class AppError : public std::exception {
public:
    explicit AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
