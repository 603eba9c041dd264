#pragma once

#include <QObject>

namespace richedit {

// Refreshes every command's state once per event-loop turn after the
// editor's state changed, instead of each command reacting to each keystroke.
class CommandRefresher : public QObject
{
    Q_OBJECT
public:
    static CommandRefresher *instance();
    void schedule();
    // Runs the pending refresh now (tests, and before menus open).
    void refreshNow();

private:
    CommandRefresher();
    bool m_pending = false;
};

} // namespace richedit
