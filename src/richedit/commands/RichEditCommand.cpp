#include "RichEditCommand.h"

#include "CommandRefresher.h"
#include "platform/Localizer.h"
#include "richedit/view/RichEditControl.h"

namespace richedit {

namespace {
QList<RichEditCommand *> &registry()
{
    static QList<RichEditCommand *> list;
    return list;
}
} // namespace

RichEditCommand::RichEditCommand(const QString &captionKey, const QString &caption,
                                 const QString &descriptionKey, const QString &description,
                                 QObject *parent)
    : QAction(parent), m_captionKey(captionKey), m_caption(caption),
      m_descriptionKey(descriptionKey), m_description(description)
{
    registry().append(this);
    retranslate();
    if (Localizer *localizer = Localizer::current())
        connect(localizer, &Localizer::changed, this, &RichEditCommand::retranslate);
    connect(this, &QAction::triggered, this, [this] {
        if (control())
            execute();
    });
    CommandRefresher::instance()->schedule();
}

RichEditCommand::~RichEditCommand()
{
    registry().removeAll(this);
}

const QList<RichEditCommand *> &RichEditCommand::all()
{
    return registry();
}

void RichEditCommand::retranslate()
{
    setText(Localizer::translate(m_captionKey, m_caption));
    const QString description = Localizer::translate(m_descriptionKey, m_description);
    setToolTip(description);
    setStatusTip(description);
}

RichEditControl *RichEditCommand::control() const
{
    return RichEditControl::focusedOrOnly();
}

bool RichEditCommand::isEnabledFor(RichEditControl *) const
{
    return true;
}

void RichEditCommand::update()
{
    RichEditControl *c = control();
    setEnabled(c && isEnabledFor(c));
}

} // namespace richedit
