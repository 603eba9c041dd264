#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Make the document look larger.
class ZoomIn : public RichEditCommand
{
    Q_OBJECT
public:
    explicit ZoomIn(QObject *parent = nullptr);
    void update() override;
    void execute() override;
};

} // namespace richedit
