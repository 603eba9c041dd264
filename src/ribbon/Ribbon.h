#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class BarManager;
class KeyTipController;
#include <QFrame>
class QMenu;
class QStackedWidget;
class QTabBar;
class QVBoxLayout;
class RibbonGroupWidget;
class RibbonPage;
class RibbonTab;

// The ribbon: a row of tabs over the page of the active tab, whose groups come from the
// bar manager.
//
// When the active tab is hidden, the ribbon makes the nearest visible tab to its right
// active, else the nearest to its left; with no visible tab none is active.
// The context menu offers minimizing (the pages fold away and clicking a tab shows its page
// as a pop-up) and the customization dialog. Alt shows key tips (KeyTipController).
class Ribbon : public QWidget
{
    Q_OBJECT

public:
    explicit Ribbon(BarManager *barManager, QWidget *parent = nullptr);
    ~Ribbon() override;

    BarManager *barManager() const { return m_barManager; }

    RibbonTab *addTab(const QString &name, const QString &caption);
    RibbonTab *tab(const QString &name) const;
    const QList<RibbonTab *> &tabs() const { return m_tabs; }
    // Deletes the tab.
    void removeTab(RibbonTab *tab);
    // Puts the tabs in this order; tabs left out are deleted.
    void setTabOrder(const QList<RibbonTab *> &tabs);
    QString unusedTabName(const QString &stem) const;

    RibbonTab *activeTab() const { return m_active; }
    // Makes a tab current; a hidden tab is shown first.
    void setActiveTab(RibbonTab *tab);

    bool isMinimized() const { return m_minimized; }
    void setMinimized(bool minimized);

    QTabBar *tabBar() const { return m_tabBar; }
    RibbonPage *page(const RibbonTab *tab) const;
    // The group widget of a bar on its tab's page.
    RibbonGroupWidget *groupWidget(const QString &barName) const;
    // The pop-up page of a minimized ribbon, while it is open.
    QFrame *pagePopup() const { return m_pagePopup; }
    KeyTipController *keyTips() const { return m_keyTips; }

    // The ribbon's context menu: minimize and customize.
    QMenu *createContextMenu(QWidget *parent);
    // Opens the customization dialog (modal); its changes last for the run.
    void customize();

    // Builds the tab row and pages again from the tabs and groups.
    void rebuild();

signals:
    void activeTabChanged(RibbonTab *tab);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleRebuild();
    void updateTabBar();
    void showPage(int tabIndex);
    void showPagePopup();
    void closePagePopup();
    void takePagesBack();
    void tabChanged(RibbonTab *tab);
    RibbonTab *successorOf(RibbonTab *tab) const;

    BarManager *m_barManager;
    QList<RibbonTab *> m_tabs;
    RibbonTab *m_active = nullptr;
    bool m_minimized = false;
    bool m_rebuildPending = false;
    bool m_updatingTabBar = false;
    QVBoxLayout *m_layout;
    QTabBar *m_tabBar;
    QStackedWidget *m_pages;
    QPointer<QFrame> m_pagePopup;
    KeyTipController *m_keyTips;
};
