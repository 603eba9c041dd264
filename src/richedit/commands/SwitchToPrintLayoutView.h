#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Show the document as it prints, page by page.
class SwitchToPrintLayoutView : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SwitchToPrintLayoutView(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
