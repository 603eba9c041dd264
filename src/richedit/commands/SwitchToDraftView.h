#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Show the document as continuous text without page layout.
class SwitchToDraftView : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SwitchToDraftView(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
