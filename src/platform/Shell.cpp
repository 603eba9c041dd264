#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>

bool Shell::openFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    // fromLocalFile escapes what a URL would misread, such as '#' and '%' in a file name.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool Shell::openUrl(const QUrl &url)
{
    if (!url.isValid() || url.isRelative())
        return false;
    return QDesktopServices::openUrl(url);
}
