#include "PasteSelection.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

PasteSelection::PasteSelection(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.PasteSelection"), tr("Paste"),
                      QStringLiteral("Command.PasteSelection.Description"),
                      tr("Paste the contents of the clipboard."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("edit-paste")));
}

void PasteSelection::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setEnabled(c && c->canPaste());
}

void PasteSelection::execute()
{
    control()->paste();
}

} // namespace richedit
