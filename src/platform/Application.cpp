#include "platform/Application.h"

#include "platform/ErrorReport.h"
#include "platform/Exception.h"

#include <QFileInfo>

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception &failure) {
        ErrorReport::show(failure);
    } catch (const std::exception &failure) {
        ErrorReport::show(failure);
    }
    return false;
}

QString Application::title()
{
    if (!QCoreApplication::instance())
        return QString();
    return titleFor(QCoreApplication::applicationFilePath());
}

QString Application::titleFor(const QString &executablePath)
{
    return QFileInfo(executablePath).fileName().section(u'.', 0, 0);
}

QString Application::executableFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}
