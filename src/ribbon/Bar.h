#pragma once

#include "ribbon/BarItemLink.h"

#include <QList>
#include <QObject>
#include <QString>

// A group of the ribbon: a caption and the item links it shows, in order.
class Bar : public QObject
{
    Q_OBJECT

public:
    Bar(const QString &name, const QString &caption, QObject *parent = nullptr);

    QString name() const { return objectName(); }
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

    const QList<BarItemLink> &links() const { return m_links; }
    void setLinks(const QList<BarItemLink> &links);
    void addLink(const BarItemLink &link);
    bool links(const BarItem *item) const;

signals:
    void changed();

private:
    QString m_caption;
    QList<BarItemLink> m_links;
};
