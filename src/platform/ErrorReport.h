#pragma once

#include <QString>

#include <exception>

// The program's default report of a failure that no handler caught: an error box with an OK
// button, titled with the application's title, showing the failure's text.
class ErrorReport
{
public:
    // The text as the box shows it: a full stop is added when the last character sorts after
    // the full stop (code units compared), so "not found" gets one and "(-1)", "done." and
    // "Hello!" do not, while "Really?" does.
    static QString displayText(const QString &message);

    static void show(const QString &message);
    // An Exception shows its message; any other exception its what(), read as UTF-8.
    static void show(const std::exception &failure);
};
