#pragma once

#include "RichEditCommand.h"

namespace richedit {

// Save the document under another name or in another format.
class SaveDocumentAs : public RichEditCommand
{
    Q_OBJECT
public:
    explicit SaveDocumentAs(QObject *parent = nullptr);
    void execute() override;
};

} // namespace richedit
