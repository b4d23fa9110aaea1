#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one failure type of the program: a text for the user. Every failure that
// reaches the application's error display is one of these (or another
// std::exception), and its text is what the user reads.
class AppError : public std::exception
{
public:
    explicit AppError(const QString &text) : m_text(text), m_utf8(text.toUtf8()) {}

    const char *what() const noexcept override { return m_utf8.constData(); }
    const QString &text() const noexcept { return m_text; }

private:
    QString m_text;
    QByteArray m_utf8;
};
