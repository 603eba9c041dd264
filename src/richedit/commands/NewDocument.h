#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Create a new blank document.
class NewDocument : public RichEditCommand
{
    Q_OBJECT
public:
    explicit NewDocument(QObject *parent = nullptr);
    void execute() override;
};

} // namespace richedit
