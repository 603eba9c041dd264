#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Cut the selection and put it on the clipboard.
class CutSelection : public RichEditCommand
{
    Q_OBJECT
public:
    explicit CutSelection(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
