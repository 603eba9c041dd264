#include "ribbon/KeyboardStatePanel.h"

#include "ribbon/LockKeyState.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

KeyboardStatePanel::KeyboardStatePanel(const QList<RibbonStatusBar::Key> &keys, QWidget *parent)
    : QWidget(parent), m_locks(new LockKeyState(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(8);
    for (const RibbonStatusBar::Key &key : keys) {
        auto *label = new QLabel(this);
        label->setObjectName(key.key);
        label->setAlignment(Qt::AlignCenter);
        const QFontMetrics metrics(label->font());
        label->setMinimumWidth(qMax(metrics.horizontalAdvance(key.activeCaption),
                                    metrics.horizontalAdvance(key.inactiveCaption)));
        layout->addWidget(label);
        m_keys.append({key, label});
    }
    connect(m_locks, &LockKeyState::changed, this, &KeyboardStatePanel::refresh);
    qApp->installEventFilter(this);
    refresh();
}

bool KeyboardStatePanel::isActive(const QString &key) const
{
    if (key == QLatin1String("Insert"))
        return m_overwrite;
    if (key == QLatin1String("CapsLock"))
        return m_locks->isOn(Qt::Key_CapsLock);
    if (key == QLatin1String("NumLock"))
        return m_locks->isOn(Qt::Key_NumLock);
    if (key == QLatin1String("ScrollLock"))
        return m_locks->isOn(Qt::Key_ScrollLock);
    return false;
}

QString KeyboardStatePanel::caption(const QString &key) const
{
    for (const Shown &shown : m_keys) {
        if (shown.key.key == key)
            return shown.label->text();
    }
    return {};
}

void KeyboardStatePanel::setOverwriteMode(bool overwrite)
{
    m_overwrite = overwrite;
    refresh();
}

void KeyboardStatePanel::refresh()
{
    for (const Shown &shown : std::as_const(m_keys)) {
        const bool active = isActive(shown.key.key);
        shown.label->setText(active ? shown.key.activeCaption : shown.key.inactiveCaption);
        // The insert mode reads the same either way; a lock key that is off is greyed.
        shown.label->setEnabled(active || shown.key.key == QLatin1String("Insert"));
    }
}

bool KeyboardStatePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
        event->type() == QEvent::ApplicationActivate) {
        if (watched->isWidgetType() || event->type() == QEvent::ApplicationActivate)
            m_locks->observe(event);
    }
    return QWidget::eventFilter(watched, event);
}
