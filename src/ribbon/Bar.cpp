#include "ribbon/Bar.h"

#include <algorithm>

Bar::Bar(const QString &name, const QString &caption, QObject *parent)
    : QObject(parent), m_caption(caption)
{
    setObjectName(name);
}

void Bar::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit changed();
}

void Bar::setLinks(const QList<BarItemLink> &links)
{
    m_links = links;
    emit changed();
}

void Bar::addLink(const BarItemLink &link)
{
    m_links << link;
    emit changed();
}

bool Bar::links(const BarItem *item) const
{
    return std::any_of(m_links.begin(), m_links.end(),
                       [item](const BarItemLink &link) { return link.item == item; });
}
