#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Undo the last change.
class Undo : public RichEditCommand
{
    Q_OBJECT
public:
    explicit Undo(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
