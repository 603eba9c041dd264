#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Select the whole document.
class SelectAll : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SelectAll(QObject *parent = nullptr);
    void execute() override;
};

} // namespace richedit
