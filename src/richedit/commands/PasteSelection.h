#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Paste the contents of the clipboard.
class PasteSelection : public RichEditCommand
{
    Q_OBJECT
public:
    explicit PasteSelection(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
