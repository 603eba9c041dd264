#pragma once

#include "ribbon/BarItemLink.h"
#include "ribbon/ItemPictures.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

// The item kinds a design names, in the words the design uses.
enum class ItemKind
{
    LargeButton,
    LargeCheckButton,
    Button,
    CheckButton,
    SubMenu,
    FontNameBox,
    FontSizeBox,
    ColourGallery,
};

QString itemKindWord(ItemKind kind);
std::optional<ItemKind> itemKindFromWord(const QString &word);

// An item of the bar manager: what a group or a sub-menu shows and what a click runs.
//
// The item shows itself through action(), an action of its own that mirrors what the item is
// bound to. Bound to a command (a QAction), the item shows the command's text as caption and
// its statusTip as hint unless the item sets its own, and its enabled, checked and visible
// states follow the command; a click triggers the command. Bound to a handler, a click calls
// the handler. A failure thrown from either ends the click and is shown by ErrorReport.
class BarItem : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    BarItem(const QString &name, ItemKind kind, QObject *parent = nullptr);
    ~BarItem() override;

    QString name() const { return objectName(); }
    ItemKind kind() const { return m_kind; }
    bool isCheckKind() const;

    // The item's own caption and hint; none: the command's.
    const std::optional<QString> &ownCaption() const { return m_caption; }
    void setCaption(const std::optional<QString> &caption);
    const std::optional<QString> &ownHint() const { return m_hint; }
    void setHint(const std::optional<QString> &hint);
    // What the item shows now.
    QString caption() const;
    QString hint() const;

    const ItemPictures &pictures() const { return m_pictures; }
    void setPictures(const ItemPictures &pictures);

    QAction *command() const { return m_command; }
    void setCommand(QAction *command);
    const QString &handlerName() const { return m_handlerName; }
    void setHandler(const QString &name, Handler handler);

    bool closesSubMenuOnClick() const { return m_closesSubMenuOnClick; }
    void setClosesSubMenuOnClick(bool closes) { m_closesSubMenuOnClick = closes; }

    // The action that widgets and menus show for the item.
    QAction *action() const { return m_action; }
    // Runs the item as a click does.
    void click();

    // Whether the item is drawn large where a group links it.
    virtual bool isLarge() const;
    // The distinct forms the allowed levels give this item, widest first; never empty.
    virtual QList<ItemForm> forms(ViewLevels allowed) const;
    // A widget for the item in a group.
    virtual QWidget *createWidget(ItemForm form, const BarItemLink &link, QWidget *parent);
    // The item as an entry of a sub-menu's list; largeColumn: the list shows 32-pixel pictures.
    virtual void addToMenu(QMenu *menu, bool largeColumn);

signals:
    // Caption, hint, picture or state changed.
    void changed();
    // The caption text changed, and with it the item's width.
    void captionChanged();
    // The item ran (a click, a key tip, a menu entry).
    void activated();

protected:
    // Called before a click runs the command, to hand it what the click means.
    virtual void prepareRun() {}
    // The picture the item shows now.
    virtual QIcon presentedIcon() const;
    void synchronize();

private:
    void run();

    ItemKind m_kind;
    std::optional<QString> m_caption;
    std::optional<QString> m_hint;
    ItemPictures m_pictures;
    QPointer<QAction> m_command;
    QString m_handlerName;
    Handler m_handler;
    bool m_closesSubMenuOnClick = true;
    bool m_synchronizing = false;
    QAction *m_action;
};
