#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

class Bar;
class BarItem;
#include <QFrame>
class QLabel;
class QToolButton;

// One group on a ribbon page, laid out at a reduction stage.
//
// Stage 0 shows every link in its widest allowed form; each further stage moves every link
// one form narrower where its view levels allow; the last stage collapses the group into one
// drop-down button whose pop-up shows the whole group at stage 0.
//
// Layout: links that do not continue a row start one; rows of small items stack three to a
// column, top to bottom, and a large item or a separator starts a new column. Within a row,
// a link that starts a button group begins a new set of joined buttons.
class RibbonGroupWidget : public QWidget
{
    Q_OBJECT

public:
    // Height of one small row and of the group's body (three rows).
    static constexpr int rowHeight = 24;
    static constexpr int bodyHeight = 3 * rowHeight + 6;

    RibbonGroupWidget(Bar *bar, QWidget *parent = nullptr);

    Bar *bar() const { return m_bar; }

    int stageCount() const;
    int collapsedStage() const { return stageCount() - 1; }
    int stage() const { return m_stage; }
    bool isCollapsed() const { return m_stage == collapsedStage(); }
    void setStage(int stage);
    // The width the group takes at a stage.
    int widthAt(int stage);
    void forgetWidths() { m_widths.clear(); }

    // The widget that shows an item now (a collapsed group shows none but its button).
    QWidget *widgetFor(const QString &itemName) const;
    // The shown items with their widgets, in link order.
    QList<QPair<BarItem *, QWidget *>> itemWidgets() const;
    QToolButton *collapsedButton() const { return m_collapsedButton; }
    // The pop-up of a collapsed group, while it is open.
    QFrame *popup() const { return m_popup; }
    void showPopup();

signals:
    // An item of the group ran.
    void itemActivated();

private:
    QWidget *buildBody(int stage, QHash<QString, QWidget *> *widgets);
    QWidget *buildCollapsed();
    void rebuild();

    Bar *m_bar;
    int m_stage = 0;
    QHash<int, int> m_widths;
    QWidget *m_body = nullptr;
    QLabel *m_caption = nullptr;
    QToolButton *m_collapsedButton = nullptr;
    QPointer<QFrame> m_popup;
    QHash<QString, QWidget *> m_widgets;
};
