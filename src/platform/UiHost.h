#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The one door every modal question of the program goes through: message boxes, file
// dialogs and password prompts. The program asks UiHost::current(); the running program
// answers with QtUiHost, tests install a ScriptedUiHost and answer without showing anything.
class UiHost
{
public:
    struct Message
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        // The answer when the box is closed without a choice (Esc, close box).
        QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
        // Centred on the screen instead of over the parent window.
        bool centredOnScreen = false;
    };

    struct FileQuestion
    {
        enum Mode
        {
            Open,
            Save
        };
        Mode mode = Open;
        QString caption;
        QString directory;
        // Name filters such as "Word Document (*.docx)", in the order shown.
        QStringList filters;
        QString selectedFilter;
        // Added by a save dialog to a name typed without a suffix.
        QString defaultSuffix;
    };

    struct FileAnswer
    {
        // Empty when the dialog was cancelled.
        QString fileName;
        QString selectedFilter;
    };

    struct PasswordQuestion
    {
        QString title;
        QString label;
    };

    UiHost() = default;
    UiHost(const UiHost &) = delete;
    UiHost &operator=(const UiHost &) = delete;
    virtual ~UiHost();

    virtual QMessageBox::StandardButton message(QWidget *parent, const Message &message) = 0;
    virtual FileAnswer file(QWidget *parent, const FileQuestion &question) = 0;
    // nullopt when the prompt was cancelled.
    virtual std::optional<QString> password(QWidget *parent, const PasswordQuestion &question) = 0;

    // The host in charge: the one last installed, else the Qt one.
    static UiHost &current();
    // Installs host (nullptr restores the Qt one) and returns the one it replaces.
    static UiHost *setCurrent(UiHost *host);
};
