#pragma once

#include <QObject>

class QEvent;

// The state of the Caps Lock, Num Lock and Scroll Lock keys. Under X11 it is read from the
// keyboard's indicators through XKB, so it is right from the start and after the keys were
// pressed in another window; elsewhere it is tracked from the key presses the program sees,
// starting from all off.
class LockKeyState : public QObject
{
    Q_OBJECT

public:
    explicit LockKeyState(QObject *parent = nullptr);

    bool isOn(int key) const;
    // Whether the state comes from the keyboard itself.
    bool readsKeyboard() const { return m_readsKeyboard; }

    // Takes note of a key event or an activation; changed() follows a change.
    void observe(const QEvent *event);
    void reread();

signals:
    void changed();

private:
    void set(bool caps, bool num, bool scroll);

    bool m_readsKeyboard = false;
    bool m_caps = false;
    bool m_num = false;
    bool m_scroll = false;
    ulong m_lastTimestamp = 0;
    int m_lastKey = 0;
    int m_lastType = 0;
};
