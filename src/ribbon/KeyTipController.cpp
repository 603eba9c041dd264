#include "ribbon/KeyTipController.h"

#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonGroupWidget.h"
#include "ribbon/RibbonPage.h"
#include "ribbon/RibbonTab.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace {

// The caption's letters and digits, upper case and without diacritics.
QString plainKeys(const QString &caption)
{
    QString result;
    for (const QChar c : caption.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            result += c.toUpper();
    }
    return result;
}

bool clashes(const QString &tip, const QStringList &used)
{
    return std::any_of(used.begin(), used.end(), [&tip](const QString &other) {
        return other.startsWith(tip) || tip.startsWith(other);
    });
}

} // namespace

KeyTipController::KeyTipController(Ribbon *ribbon) : QObject(ribbon), m_ribbon(ribbon)
{
    qApp->installEventFilter(this);
}

QStringList KeyTipController::assign(const QStringList &captions)
{
    static const QString digits = QStringLiteral("123456789");
    QStringList used;
    QStringList result;
    for (const QString &caption : captions) {
        const QString keys = plainKeys(caption);
        QString tip;
        for (const QChar c : keys) {
            if (!clashes(c, used)) {
                tip = c;
                break;
            }
        }
        const QString first = keys.isEmpty() ? QStringLiteral("Q") : keys.left(1);
        for (const QChar second : keys.mid(1) + digits) {
            if (!tip.isEmpty())
                break;
            if (!clashes(first + second, used))
                tip = first + second;
        }
        for (const QChar a : digits) {
            for (const QChar b : digits) {
                if (tip.isEmpty() && !clashes(QString(a) + b, used))
                    tip = QString(a) + b;
            }
        }
        used << tip;
        result << tip;
    }
    return result;
}

QStringList KeyTipController::tips() const
{
    QStringList result;
    for (const Tip &tip : m_tips)
        result << tip.keys;
    return result;
}

QString KeyTipController::tipFor(const QWidget *target) const
{
    for (const Tip &tip : m_tips) {
        if (tip.target == target)
            return tip.keys;
    }
    return {};
}

void KeyTipController::show(QList<Tip> tips)
{
    clear();
    m_tips = std::move(tips);
    for (Tip &tip : m_tips) {
        tip.label = new QLabel(tip.keys, m_ribbon);
        tip.label->setObjectName(QStringLiteral("ribbonKeyTip"));
        tip.label->setAlignment(Qt::AlignCenter);
        tip.label->adjustSize();
        tip.label->setMinimumWidth(16);
        QPoint at;
        if (tip.tabIndex >= 0) {
            const QRect rect = m_ribbon->tabBar()->tabRect(tip.tabIndex);
            at = m_ribbon->tabBar()->mapTo(m_ribbon,
                                           rect.center() + QPoint(0, rect.height() / 2 - 4));
        } else {
            at = tip.target->mapTo(m_ribbon,
                                   QPoint(tip.target->width() / 2, tip.target->height() - 6));
        }
        tip.label->move(at - QPoint(tip.label->width() / 2, 0));
        tip.label->show();
        tip.label->raise();
    }
}

void KeyTipController::clear()
{
    for (const Tip &tip : m_tips)
        delete tip.label;
    m_tips.clear();
    m_typed.clear();
}

void KeyTipController::showTabTips()
{
    QStringList captions;
    QList<int> indexes;
    for (qsizetype i = 0; i < m_ribbon->tabs().size(); ++i) {
        if (m_ribbon->tabs().at(i)->isVisible()) {
            captions << m_ribbon->tabs().at(i)->caption();
            indexes << int(i);
        }
    }
    const QStringList keys = assign(captions);
    QList<Tip> tips;
    for (qsizetype i = 0; i < keys.size(); ++i)
        tips.append({keys.at(i), m_ribbon->tabBar(), indexes.at(i), nullptr});
    m_level = Level::Tabs;
    show(tips);
}

void KeyTipController::showItemTips()
{
    RibbonPage *page = m_ribbon->page(m_ribbon->activeTab());
    if (!page) {
        end();
        return;
    }
    QStringList captions;
    QList<QWidget *> targets;
    for (RibbonGroupWidget *group : page->groups()) {
        if (group->isCollapsed()) {
            captions << group->bar()->caption();
            targets << group->collapsedButton();
            continue;
        }
        for (const auto &[item, widget] : group->itemWidgets()) {
            if (!widget->isHidden()) {
                captions << item->caption();
                targets << widget;
            }
        }
    }
    const QStringList keys = assign(captions);
    QList<Tip> tips;
    for (qsizetype i = 0; i < keys.size(); ++i)
        tips.append({keys.at(i), targets.at(i), -1, nullptr});
    m_level = Level::Items;
    show(tips);
}

void KeyTipController::end()
{
    clear();
    m_level = Level::Off;
}

void KeyTipController::typeKeys(const QString &text)
{
    m_typed += plainKeys(text);
    for (const Tip &tip : std::as_const(m_tips)) {
        if (tip.keys != m_typed)
            continue;
        if (m_level == Level::Tabs) {
            m_ribbon->setActiveTab(m_ribbon->tabs().value(tip.tabIndex));
            showItemTips();
            return;
        }
        QWidget *target = tip.target;
        end();
        if (auto *button = qobject_cast<QToolButton *>(target)) {
            if (button->menu() && button->popupMode() == QToolButton::InstantPopup)
                button->showMenu();
            else
                button->click();
        } else if (target) {
            if (auto *box = target->findChild<QComboBox *>())
                box->setFocus(Qt::ShortcutFocusReason);
        }
        return;
    }
    const bool prefix = std::any_of(m_tips.begin(), m_tips.end(), [this](const Tip &tip) {
        return tip.keys.startsWith(m_typed);
    });
    if (!prefix)
        m_typed.clear();
}

bool KeyTipController::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_ribbon->window())
        return false;
    if (type == QEvent::MouseButtonPress) {
        m_altArmed = false;
        if (m_level != Level::Off)
            end();
        return false;
    }
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Alt) {
        if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
            m_altArmed = true;
        } else if (type == QEvent::KeyRelease && m_altArmed) {
            m_altArmed = false;
            if (m_level == Level::Off)
                showTabTips();
            else
                end();
            return true;
        }
        return false;
    }
    if (type == QEvent::KeyPress)
        m_altArmed = false;
    if (m_level == Level::Off)
        return false;
    if (type == QEvent::KeyRelease)
        return true;
    if (key->key() == Qt::Key_Escape) {
        if (m_level == Level::Items)
            showTabTips();
        else
            end();
        return true;
    }
    if (plainKeys(key->text()).isEmpty()) {
        end();
        return false;
    }
    typeKeys(key->text());
    return true;
}
