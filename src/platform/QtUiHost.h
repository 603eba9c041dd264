#pragma once

#include "platform/UiHost.h"

// UiHost that shows the real Qt dialogs, modal, and waits for the user.
class QtUiHost : public UiHost
{
public:
    QMessageBox::StandardButton message(QWidget *parent, const Message &message) override;
    FileAnswer file(QWidget *parent, const FileQuestion &question) override;
    std::optional<QString> password(QWidget *parent, const PasswordQuestion &question) override;
};
