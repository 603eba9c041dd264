#pragma once

#include <QString>
#include <QUrl>

// Hands a file or a web address to the desktop, which opens it with the associated program
// or the user's browser. Nothing waits for that program; false means the desktop refused
// (or the target was empty or not a URL).
class Shell
{
public:
    // A relative path is taken from the current folder.
    static bool openFile(const QString &path);
    // An absolute URL, such as "https://..." or "mailto:...".
    static bool openUrl(const QUrl &url);
};
