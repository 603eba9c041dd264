#pragma once

#include <QList>
#include <QWidget>

class RibbonGroupWidget;
class RibbonTab;

// The page of one tab: its groups left to right, fitted to the page's width.
//
// Fitting starts with every group at stage 0. While the groups are wider than the page, it
// steps groups one stage narrower, one group at a time from the rightmost to the leftmost
// and round again, until each is at its narrowest stage before collapsing; then it collapses
// groups from the right. Widening fits again from stage 0, so groups come back.
class RibbonPage : public QWidget
{
    Q_OBJECT

public:
    RibbonPage(RibbonTab *tab, QWidget *parent = nullptr);

    RibbonTab *tab() const { return m_tab; }
    const QList<RibbonGroupWidget *> &groups() const { return m_groups; }
    RibbonGroupWidget *group(const QString &barName) const;

    // Fits the groups to a width.
    void fit(int width);
    void forgetWidths();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int totalWidth(const QList<int> &stages) const;

    RibbonTab *m_tab;
    QList<RibbonGroupWidget *> m_groups;
    QList<QWidget *> m_separators;
};
