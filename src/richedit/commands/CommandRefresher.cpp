#include "CommandRefresher.h"

#include "RichEditCommand.h"
#include "richedit/view/RichEditControl.h"

#include <QApplication>
#include <QTimer>

namespace richedit {

CommandRefresher *CommandRefresher::instance()
{
    static CommandRefresher *refresher = new CommandRefresher;
    return refresher;
}

CommandRefresher::CommandRefresher()
{
    RichEditControl::setStateObserver([this] { schedule(); });
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &CommandRefresher::schedule);
}

void CommandRefresher::schedule()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, &CommandRefresher::refreshNow);
}

void CommandRefresher::refreshNow()
{
    m_pending = false;
    const QList<RichEditCommand *> commands = RichEditCommand::all();
    for (RichEditCommand *c : commands)
        c->update();
}

} // namespace richedit
