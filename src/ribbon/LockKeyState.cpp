#include "ribbon/LockKeyState.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

#include <array>
#include <optional>

namespace {
// Caps, Num and Scroll Lock from the X server's keyboard indicators, where there is one.
std::optional<std::array<bool, 3>> x11Indicators();
} // namespace

LockKeyState::LockKeyState(QObject *parent) : QObject(parent)
{
    reread();
}

bool LockKeyState::isOn(int key) const
{
    switch (key) {
    case Qt::Key_CapsLock:
        return m_caps;
    case Qt::Key_NumLock:
        return m_num;
    case Qt::Key_ScrollLock:
        return m_scroll;
    default:
        return false;
    }
}

void LockKeyState::set(bool caps, bool num, bool scroll)
{
    if (caps == m_caps && num == m_num && scroll == m_scroll)
        return;
    m_caps = caps;
    m_num = num;
    m_scroll = scroll;
    emit changed();
}

void LockKeyState::reread()
{
    if (const auto indicators = x11Indicators()) {
        m_readsKeyboard = true;
        set((*indicators)[0], (*indicators)[1], (*indicators)[2]);
    }
}

void LockKeyState::observe(const QEvent *event)
{
    if (event->type() == QEvent::ApplicationActivate) {
        reread();
        return;
    }
    const auto *key = static_cast<const QKeyEvent *>(event);
    // A key event passes the application's filters once for each widget it travels to.
    if (key->timestamp() == m_lastTimestamp && key->key() == m_lastKey &&
        event->type() == m_lastType)
        return;
    m_lastTimestamp = key->timestamp();
    m_lastKey = key->key();
    m_lastType = event->type();
    if (key->key() != Qt::Key_CapsLock && key->key() != Qt::Key_NumLock &&
        key->key() != Qt::Key_ScrollLock)
        return;
    if (m_readsKeyboard) {
        // The server updates its indicators after it has delivered the key.
        QTimer::singleShot(0, this, &LockKeyState::reread);
        return;
    }
    if (event->type() != QEvent::KeyPress || key->isAutoRepeat())
        return;
    set(m_caps != (key->key() == Qt::Key_CapsLock), m_num != (key->key() == Qt::Key_NumLock),
        m_scroll != (key->key() == Qt::Key_ScrollLock));
}

#ifdef MARLIX_HAVE_XKB
// Xlib's macros clash with Qt's names, so it comes last.
#include <X11/XKBlib.h>

namespace {

std::optional<std::array<bool, 3>> x11Indicators()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    std::array<bool, 3> result{};
    const char *const names[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) {
        const Atom atom = XInternAtom(display, names[i], True);
        int on = 0;
        if (atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
            result[i] = on != 0;
    }
    return result;
}

} // namespace
#else
namespace {
std::optional<std::array<bool, 3>> x11Indicators()
{
    return std::nullopt;
}
} // namespace
#endif
