#pragma once

#include <QString>
#include <QStringList>

class QAction;
class QObject;

namespace richedit {

// Makes editor commands by their class name ("ToggleFontBold"); null for a
// class that is not built yet.
class CommandFactory
{
public:
    static QAction *create(const QString &commandClass, QObject *parent);
    static QStringList classes();
};

} // namespace richedit
