#include "SwitchToPrintLayoutView.h"

#include "richedit/view/RichEditControl.h"

namespace richedit {

SwitchToPrintLayoutView::SwitchToPrintLayoutView(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.SwitchToPrintLayoutView"), tr("Print Layout"),
                      QStringLiteral("Command.SwitchToPrintLayoutView.Description"),
                      tr("Show the document as it prints, page by page."), parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("document-preview")));
    setCheckable(true);
}

void SwitchToPrintLayoutView::update()
{
    RichEditCommand::update();
    RichEditControl *c = control();
    setChecked(c && c->activeViewType() == ViewType::PrintLayout);
}

void SwitchToPrintLayoutView::execute()
{
    control()->setActiveViewType(ViewType::PrintLayout);
}

} // namespace richedit
