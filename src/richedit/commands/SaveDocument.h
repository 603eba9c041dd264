#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Save the document.
class SaveDocument : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SaveDocument(QObject *parent = nullptr);
    void execute() override;
};

} // namespace richedit
