#include "ribbon/RibbonTab.h"

#include "ribbon/Ribbon.h"

RibbonTab::RibbonTab(const QString &name, const QString &caption, Ribbon *ribbon)
    : QObject(ribbon), m_ribbon(ribbon), m_caption(caption)
{
    setObjectName(name);
}

void RibbonTab::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit changed();
}

void RibbonTab::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit changed();
}

bool RibbonTab::isActive() const
{
    return m_ribbon->activeTab() == this;
}

void RibbonTab::setActive(bool active)
{
    if (active)
        m_ribbon->setActiveTab(this);
}

void RibbonTab::setGroups(const QList<Bar *> &groups)
{
    m_groups = groups;
    emit groupsChanged();
}
