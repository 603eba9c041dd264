#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Redo the change undone last.
class Redo : public RichEditCommand
{
    Q_OBJECT
public:
    explicit Redo(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
