#include "Unit1.h"
#include "fDatumACas.h"
#include "platform/Application.h"
#include "platform/ErrorReport.h"
#include "ribbon/SkinController.h"

#include <QScreen>

// Starts the editor: the main window, then the hidden date and time dialog,
// then the event loop. Command-line arguments are not read: the editor
// always starts with a new, untitled document.
int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    SkinController().apply(&app);
    TForm1 *mainWindow = nullptr;
    try {
        mainWindow = new TForm1;
    } catch (const std::exception &e) {
        // Without its window design the program cannot start.
        ErrorReport::show(e);
        return 1;
    }
    auto *dialog = new TfDatumCas(mainWindow);
    dialog->hide();
    // Without a window manager to maximise it, the window takes the screen.
    mainWindow->setGeometry(mainWindow->screen()->availableGeometry());
    mainWindow->showMaximized();
    app.exec();
    delete mainWindow;
    OpenDocumentPath.clear();
    SaveChangesQuestion.clear();
    return 0;
}
