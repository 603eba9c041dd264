#include "ribbon/Ribbon.h"

#include "platform/Localizer.h"
#include "ribbon/BarManager.h"
#include "ribbon/KeyTipController.h"
#include "ribbon/RibbonCustomizeDialog.h"
#include "ribbon/RibbonGroupWidget.h"
#include "ribbon/RibbonPage.h"
#include "ribbon/RibbonTab.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

Ribbon::Ribbon(BarManager *barManager, QWidget *parent)
    : QWidget(parent), m_barManager(barManager), m_layout(new QVBoxLayout(this)),
      m_tabBar(new QTabBar(this)), m_pages(new QStackedWidget(this)),
      m_keyTips(new KeyTipController(this))
{
    setObjectName(QStringLiteral("dxRibbon"));
    setProperty("ribbon", true);
    setAttribute(Qt::WA_StyledBackground);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_tabBar->setObjectName(QStringLiteral("ribbonTabBar"));
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);
    m_tabBar->setFocusPolicy(Qt::NoFocus);
    m_pages->setObjectName(QStringLiteral("ribbonPages"));
    m_pages->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_layout->addWidget(m_tabBar);
    m_layout->addWidget(m_pages);
    connect(m_tabBar, &QTabBar::currentChanged, this, [this](int index) {
        if (m_updatingTabBar || index < 0)
            return;
        setActiveTab(m_tabs.value(index));
    });
    connect(m_tabBar, &QTabBar::tabBarClicked, this, [this](int index) {
        if (m_minimized && index >= 0) {
            setActiveTab(m_tabs.value(index));
            showPagePopup();
        }
    });
    connect(m_barManager, &BarManager::barsChanged, this, &Ribbon::scheduleRebuild);
}

Ribbon::~Ribbon() = default;

RibbonTab *Ribbon::addTab(const QString &name, const QString &caption)
{
    auto *tab = new RibbonTab(name, caption, this);
    m_tabs << tab;
    connect(tab, &RibbonTab::changed, this, [this, tab] { tabChanged(tab); });
    connect(tab, &RibbonTab::groupsChanged, this, &Ribbon::scheduleRebuild);
    if (!m_active)
        m_active = tab;
    scheduleRebuild();
    return tab;
}

RibbonTab *Ribbon::tab(const QString &name) const
{
    const auto found = std::find_if(m_tabs.begin(), m_tabs.end(),
                                    [&name](const RibbonTab *tab) { return tab->name() == name; });
    return found == m_tabs.end() ? nullptr : *found;
}

void Ribbon::removeTab(RibbonTab *tab)
{
    QList<RibbonTab *> rest = m_tabs;
    rest.removeOne(tab);
    setTabOrder(rest);
}

void Ribbon::setTabOrder(const QList<RibbonTab *> &tabs)
{
    for (RibbonTab *tab : m_tabs) {
        if (!tabs.contains(tab)) {
            if (tab == m_active)
                m_active = nullptr;
            tab->deleteLater();
        }
    }
    m_tabs = tabs;
    if (!m_active) {
        const auto visible = std::find_if(m_tabs.begin(), m_tabs.end(),
                                          [](const RibbonTab *tab) { return tab->isVisible(); });
        m_active = visible == m_tabs.end() ? nullptr : *visible;
    }
    rebuild();
    emit activeTabChanged(m_active);
}

QString Ribbon::unusedTabName(const QString &stem) const
{
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (!tab(name))
            return name;
    }
}

RibbonTab *Ribbon::successorOf(RibbonTab *tab) const
{
    const qsizetype index = m_tabs.indexOf(tab);
    for (qsizetype i = index + 1; i < m_tabs.size(); ++i) {
        if (m_tabs.at(i)->isVisible())
            return m_tabs.at(i);
    }
    for (qsizetype i = index - 1; i >= 0; --i) {
        if (m_tabs.at(i)->isVisible())
            return m_tabs.at(i);
    }
    return nullptr;
}

void Ribbon::setActiveTab(RibbonTab *tab)
{
    if (tab && !tab->isVisible())
        tab->setVisible(true);
    if (tab == m_active)
        return;
    m_active = tab;
    showPage(int(m_tabs.indexOf(tab)));
    emit activeTabChanged(tab);
}

void Ribbon::tabChanged(RibbonTab *tab)
{
    if (tab == m_active && !tab->isVisible()) {
        m_active = successorOf(tab);
        updateTabBar();
        showPage(int(m_tabs.indexOf(m_active)));
        emit activeTabChanged(m_active);
        return;
    }
    updateTabBar();
}

void Ribbon::updateTabBar()
{
    m_updatingTabBar = true;
    while (m_tabBar->count() > m_tabs.size())
        m_tabBar->removeTab(m_tabBar->count() - 1);
    for (qsizetype i = 0; i < m_tabs.size(); ++i) {
        RibbonTab *tab = m_tabs.at(i);
        if (i >= m_tabBar->count())
            m_tabBar->addTab(QString());
        m_tabBar->setTabText(int(i), tab->caption());
        m_tabBar->setTabVisible(int(i), tab->isVisible());
    }
    m_tabBar->setCurrentIndex(int(m_tabs.indexOf(m_active)));
    m_updatingTabBar = false;
}

void Ribbon::showPage(int tabIndex)
{
    m_updatingTabBar = true;
    m_tabBar->setCurrentIndex(tabIndex);
    m_updatingTabBar = false;
    if (tabIndex >= 0 && tabIndex < m_pages->count()) {
        m_pages->setCurrentIndex(tabIndex);
        if (auto *page = static_cast<RibbonPage *>(m_pages->currentWidget()))
            page->fit(m_pages->width());
    }
}

void Ribbon::scheduleRebuild()
{
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_rebuildPending)
            rebuild();
    });
}

void Ribbon::rebuild()
{
    m_rebuildPending = false;
    closePagePopup();
    while (m_pages->count() > 0) {
        QWidget *page = m_pages->widget(0);
        m_pages->removeWidget(page);
        delete page;
    }
    for (RibbonTab *tab : m_tabs)
        m_pages->addWidget(new RibbonPage(tab, m_pages));
    updateTabBar();
    showPage(int(m_tabs.indexOf(m_active)));
    m_pages->setFixedHeight(m_pages->sizeHint().height());
    m_pages->setVisible(!m_minimized);
}

RibbonPage *Ribbon::page(const RibbonTab *tab) const
{
    const qsizetype index = m_tabs.indexOf(tab);
    return index < 0 ? nullptr : static_cast<RibbonPage *>(m_pages->widget(int(index)));
}

RibbonGroupWidget *Ribbon::groupWidget(const QString &barName) const
{
    for (int i = 0; i < m_pages->count(); ++i) {
        if (RibbonGroupWidget *group =
                static_cast<RibbonPage *>(m_pages->widget(i))->group(barName))
            return group;
    }
    return nullptr;
}

void Ribbon::setMinimized(bool minimized)
{
    if (minimized == m_minimized)
        return;
    m_minimized = minimized;
    closePagePopup();
    m_pages->setVisible(!minimized);
}

void Ribbon::showPagePopup()
{
    closePagePopup();
    m_pagePopup = new QFrame(this, Qt::Popup);
    m_pagePopup->setObjectName(QStringLiteral("ribbonPagePopup"));
    auto *layout = new QVBoxLayout(m_pagePopup);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages->setParent(m_pagePopup);
    layout->addWidget(m_pages);
    m_pages->show();
    m_pagePopup->installEventFilter(this);
    m_pagePopup->setFixedSize(width(), m_pages->height());
    m_pagePopup->move(mapToGlobal(QPoint(0, m_tabBar->height())));
    // Running an item of the pop-up page closes it, as a menu closes.
    if (RibbonPage *current = static_cast<RibbonPage *>(m_pages->currentWidget())) {
        for (RibbonGroupWidget *group : current->groups())
            connect(group, &RibbonGroupWidget::itemActivated, m_pagePopup, &QWidget::close);
    }
    m_pagePopup->setAttribute(Qt::WA_DeleteOnClose);
    m_pagePopup->show();
    if (auto *page = static_cast<RibbonPage *>(m_pages->currentWidget()))
        page->fit(width());
}

void Ribbon::takePagesBack()
{
    if (m_pages->parent() == this)
        return;
    m_pages->setParent(this);
    m_layout->addWidget(m_pages);
    m_pages->setVisible(!m_minimized);
}

void Ribbon::closePagePopup()
{
    if (!m_pagePopup)
        return;
    // The pages go back before the pop-up goes, so they are not deleted with it.
    takePagesBack();
    delete m_pagePopup;
}

bool Ribbon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pagePopup && event->type() == QEvent::Hide)
        takePagesBack();
    return QWidget::eventFilter(watched, event);
}

QMenu *Ribbon::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("ribbonContextMenu"));
    QAction *minimize = menu->addAction(Localizer::translate(
        QStringLiteral("Ribbon.Minimize"), QStringLiteral("Minimize the Ribbon")));
    minimize->setObjectName(QStringLiteral("minimize"));
    minimize->setCheckable(true);
    minimize->setChecked(m_minimized);
    connect(minimize, &QAction::toggled, this, &Ribbon::setMinimized);
    QAction *customizeAction = menu->addAction(Localizer::translate(
        QStringLiteral("Ribbon.Customize"), QStringLiteral("Customize the Ribbon...")));
    customizeAction->setObjectName(QStringLiteral("customize"));
    connect(customizeAction, &QAction::triggered, this, &Ribbon::customize, Qt::QueuedConnection);
    return menu;
}

void Ribbon::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void Ribbon::customize()
{
    RibbonCustomizeDialog dialog(this, window());
    if (dialog.exec() == QDialog::Accepted)
        dialog.apply();
}
