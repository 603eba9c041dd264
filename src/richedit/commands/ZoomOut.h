#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Make the document look smaller.
class ZoomOut : public RichEditCommand
{
    Q_OBJECT
public:
    explicit ZoomOut(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
