#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Show the document wrapped to the window, as a web page.
class SwitchToSimpleView : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SwitchToSimpleView(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
