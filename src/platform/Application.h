#pragma once

#include <QApplication>
#include <QString>

// The application object. Handlers catch no failures: an Exception (or any std::exception)
// thrown from an event handler ends up here, is shown by ErrorReport, and the event loop
// goes on.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The title of the error and plain message boxes: the running executable's title.
    static QString title();
    // The executable's file name without its folder, cut before its first full stop.
    static QString titleFor(const QString &executablePath);
    // The folder of the running executable, ending in a separator, ready for a file name.
    static QString executableFolder();
};
