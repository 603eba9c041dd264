#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The program's failure: a message for the user. Handlers do not catch it; it travels to
// Application::notify (or an item's click path), which shows it through ErrorReport.
class Exception : public std::exception
{
public:
    explicit Exception(QString message);

    const QString &message() const noexcept { return m_message; }
    // The message in UTF-8, for code that only knows std::exception.
    const char *what() const noexcept override;

private:
    QString m_message;
    QByteArray m_what;
};
