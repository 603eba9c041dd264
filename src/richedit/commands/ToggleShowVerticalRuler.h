#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Show or hide the vertical ruler.
class ToggleShowVerticalRuler : public RichEditCommand
{
    Q_OBJECT
public:
    explicit ToggleShowVerticalRuler(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
