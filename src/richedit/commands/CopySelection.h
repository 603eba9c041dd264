#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Copy the selection and put it on the clipboard.
class CopySelection : public RichEditCommand
{
    Q_OBJECT
public:
    explicit CopySelection(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
