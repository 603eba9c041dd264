#include "Redo.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

Redo::Redo(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.Redo"), tr("Redo"),
                      QStringLiteral("Command.Redo.Description"),
                      tr("Redo the change undone last."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-redo")));
}

void Redo::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->document()->undoStack()->canRedo());
}

void Redo::execute()
{
    control()->redo();
}

} // namespace richedit
