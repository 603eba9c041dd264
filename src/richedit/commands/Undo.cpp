#include "Undo.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

Undo::Undo(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.Undo"), tr("Undo"),
                      QStringLiteral("Command.Undo.Description"), tr("Undo the last change."),
                      parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-undo")));
}

void Undo::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->document()->undoStack()->canUndo());
}

void Undo::execute()
{
    control()->undo();
}

} // namespace richedit
