#pragma once

#include "ribbon/RibbonStatusBar.h"

#include <QHash>
#include <QWidget>

class LockKeyState;
class QLabel;

// Shows the lock keys (CAPS, NUM, SCRL: plain while on, greyed while off) and the insert
// mode (INS, or OVR in overwrite mode). The lock keys come from LockKeyState and follow by
// themselves; the insert mode comes from whoever owns it, through setOverwriteMode().
class KeyboardStatePanel : public QWidget
{
    Q_OBJECT

public:
    KeyboardStatePanel(const QList<RibbonStatusBar::Key> &keys, QWidget *parent = nullptr);

    bool isOverwriteMode() const { return m_overwrite; }
    // The caption the panel shows for a key now.
    QString caption(const QString &key) const;
    bool isActive(const QString &key) const;

public slots:
    void setOverwriteMode(bool overwrite);
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Shown
    {
        RibbonStatusBar::Key key;
        QLabel *label;
    };

    QList<Shown> m_keys;
    LockKeyState *m_locks;
    bool m_overwrite = false;
};
