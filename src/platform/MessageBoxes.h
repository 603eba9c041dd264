#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The message boxes the program shows, each asked through UiHost::current().
class MessageBoxes
{
public:
    // Warning icon, the standard "Warning" caption, Yes, No and Cancel in this order with Yes
    // the default; closing the box without a choice answers Cancel.
    static QMessageBox::StandardButton warningYesNoCancel(QWidget *parent, const QString &text);
    // No icon, an OK button, the application's title, centred on the screen.
    static void plain(const QString &text);
    // Error icon, an OK button, the application's title; the text as given.
    static void error(const QString &text);
};
