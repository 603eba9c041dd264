#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Show or hide the horizontal ruler.
class ToggleShowHorizontalRuler : public RichEditCommand
{
    Q_OBJECT
public:
    explicit ToggleShowHorizontalRuler(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
