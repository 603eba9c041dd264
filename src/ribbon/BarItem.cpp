#include "ribbon/BarItem.h"

#include "platform/ErrorReport.h"
#include "ribbon/ItemButton.h"

#include <QAction>
#include <QMenu>
#include <QPainter>

namespace {

const std::pair<ItemKind, const char *> kindWords[] = {
    {ItemKind::LargeButton, "large button"},
    {ItemKind::LargeCheckButton, "large check button"},
    {ItemKind::Button, "button"},
    {ItemKind::CheckButton, "check button"},
    {ItemKind::SubMenu, "sub-menu"},
    {ItemKind::FontNameBox, "font-name box"},
    {ItemKind::FontSizeBox, "font-size box"},
    {ItemKind::ColourGallery, "colour gallery"},
};

// A 16-pixel picture centred in a 32-pixel square, for small entries of a list whose
// picture column is 32 pixels wide.
QIcon centredInLargeColumn(const QIcon &icon)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.drawPixmap(8, 8, icon.pixmap(16, 16));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QString itemKindWord(ItemKind kind)
{
    for (const auto &[k, word] : kindWords) {
        if (k == kind)
            return QString::fromLatin1(word);
    }
    return {};
}

std::optional<ItemKind> itemKindFromWord(const QString &word)
{
    for (const auto &[kind, w] : kindWords) {
        if (word == QLatin1String(w))
            return kind;
    }
    return std::nullopt;
}

BarItem::BarItem(const QString &name, ItemKind kind, QObject *parent)
    : QObject(parent), m_kind(kind), m_action(new QAction(this))
{
    setObjectName(name);
    m_action->setObjectName(name);
    m_action->setCheckable(isCheckKind());
    connect(m_action, &QAction::triggered, this, &BarItem::run);
    synchronize();
}

BarItem::~BarItem() = default;

bool BarItem::isCheckKind() const
{
    return m_kind == ItemKind::CheckButton || m_kind == ItemKind::LargeCheckButton;
}

void BarItem::setCaption(const std::optional<QString> &caption)
{
    m_caption = caption;
    synchronize();
}

void BarItem::setHint(const std::optional<QString> &hint)
{
    m_hint = hint;
    synchronize();
}

QString BarItem::caption() const
{
    if (m_caption)
        return *m_caption;
    return m_command ? m_command->text() : QString();
}

QString BarItem::hint() const
{
    if (m_hint)
        return *m_hint;
    return m_command ? m_command->statusTip() : QString();
}

void BarItem::setPictures(const ItemPictures &pictures)
{
    m_pictures = pictures;
    synchronize();
}

void BarItem::setCommand(QAction *command)
{
    if (m_command)
        disconnect(m_command, nullptr, this, nullptr);
    m_command = command;
    if (m_command)
        connect(m_command, &QAction::changed, this, &BarItem::synchronize);
    synchronize();
}

void BarItem::setHandler(const QString &name, Handler handler)
{
    m_handlerName = name;
    m_handler = std::move(handler);
}

void BarItem::click()
{
    if (!m_action->isEnabled())
        return;
    m_action->trigger();
}

void BarItem::run()
{
    if (m_synchronizing)
        return;
    try {
        prepareRun();
        if (m_command)
            m_command->trigger();
        else if (m_handler)
            m_handler();
    } catch (const std::exception &failure) {
        ErrorReport::show(failure);
    }
    synchronize();
    emit activated();
}

void BarItem::synchronize()
{
    m_synchronizing = true;
    const QString text = caption();
    const QString description = hint();
    const bool captionChanges = text != m_action->text();
    m_action->setText(text);
    m_action->setStatusTip(description);
    m_action->setToolTip(description.isEmpty() ? text : text + QLatin1Char('\n') + description);
    if (!m_pictures.isEmpty())
        m_action->setIcon(presentedIcon());
    if (m_command) {
        m_action->setEnabled(m_command->isEnabled());
        m_action->setVisible(m_command->isVisible());
        m_action->setCheckable(isCheckKind() || m_command->isCheckable());
        m_action->setChecked(m_command->isChecked());
    }
    m_synchronizing = false;
    emit changed();
    if (captionChanges)
        emit captionChanged();
}

QIcon BarItem::presentedIcon() const
{
    return m_pictures.icon(caption());
}

bool BarItem::isLarge() const
{
    return m_kind == ItemKind::LargeButton || m_kind == ItemKind::LargeCheckButton;
}

QList<ItemForm> BarItem::forms(ViewLevels allowed) const
{
    QList<ItemForm> result;
    if (isLarge() && (allowed & (ViewLevel::LargeIconWithText | ViewLevel::LargeControlOnly)))
        result << ItemForm::Large;
    if (allowed & ViewLevel::SmallIconWithText)
        result << ItemForm::SmallWithText;
    if (allowed & (ViewLevel::SmallIcon | ViewLevel::ControlOnly))
        result << ItemForm::SmallIcon;
    if (result.isEmpty())
        result << (isLarge() ? ItemForm::Large : ItemForm::SmallWithText);
    return result;
}

QWidget *BarItem::createWidget(ItemForm form, const BarItemLink &, QWidget *parent)
{
    return new ItemButton(this, form, parent);
}

void BarItem::addToMenu(QMenu *menu, bool largeColumn)
{
    if (!largeColumn || m_pictures.isEmpty()) {
        menu->addAction(m_action);
        return;
    }
    // The list's own entry carries the picture in the list's column size; state and clicks
    // still go through the item's action.
    auto *entry = new QAction(m_action->icon(), m_action->text(), menu);
    entry->setObjectName(name());
    if (!isLarge())
        entry->setIcon(centredInLargeColumn(m_action->icon()));
    const auto follow = [this, entry] {
        entry->setText(m_action->text());
        entry->setToolTip(m_action->toolTip());
        entry->setEnabled(m_action->isEnabled());
        entry->setVisible(m_action->isVisible());
        entry->setCheckable(m_action->isCheckable());
        entry->setChecked(m_action->isChecked());
    };
    follow();
    connect(m_action, &QAction::changed, entry, follow);
    connect(entry, &QAction::triggered, this, [this, follow] {
        click();
        follow();
    });
    menu->addAction(entry);
}
