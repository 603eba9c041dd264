#include "platform/MessageBoxes.h"

#include "platform/Application.h"
#include "platform/UiHost.h"

#include <QApplication>

QMessageBox::StandardButton MessageBoxes::warningYesNoCancel(QWidget *parent, const QString &text)
{
    UiHost::Message message;
    message.title = QCoreApplication::translate("MessageBoxes", "Warning");
    message.text = text;
    message.icon = QMessageBox::Warning;
    message.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    message.defaultButton = QMessageBox::Yes;
    message.escapeButton = QMessageBox::Cancel;
    return UiHost::current().message(parent, message);
}

void MessageBoxes::plain(const QString &text)
{
    UiHost::Message message;
    message.title = Application::title();
    message.text = text;
    message.centredOnScreen = true;
    UiHost::current().message(QApplication::activeWindow(), message);
}

void MessageBoxes::error(const QString &text)
{
    UiHost::Message message;
    message.title = Application::title();
    message.text = text;
    message.icon = QMessageBox::Critical;
    UiHost::current().message(QApplication::activeWindow(), message);
}
