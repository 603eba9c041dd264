#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Open a document.
class LoadDocument : public RichEditCommand
{
    Q_OBJECT
public:
    explicit LoadDocument(QObject *parent = nullptr);
    void execute() override;
};

} // namespace richedit
