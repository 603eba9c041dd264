#pragma once

#include <QList>
#include <QObject>
#include <QString>

class Bar;
class Ribbon;

// A tab of the ribbon: a caption and the groups its page shows, left to right.
class RibbonTab : public QObject
{
    Q_OBJECT

public:
    RibbonTab(const QString &name, const QString &caption, Ribbon *ribbon);

    QString name() const { return objectName(); }
    Ribbon *ribbon() const { return m_ribbon; }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

    bool isVisible() const { return m_visible; }
    // Hiding the active tab lets the ribbon choose another (Ribbon::setActiveTab).
    void setVisible(bool visible);

    bool isActive() const;
    // Only true has an effect: the tab becomes the ribbon's current one (and is shown).
    void setActive(bool active);

    const QList<Bar *> &groups() const { return m_groups; }
    void setGroups(const QList<Bar *> &groups);

signals:
    void changed();
    void groupsChanged();

private:
    Ribbon *m_ribbon;
    QString m_caption;
    bool m_visible = true;
    QList<Bar *> m_groups;
};
