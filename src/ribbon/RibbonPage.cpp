#include "ribbon/RibbonPage.h"

#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/RibbonGroupWidget.h"
#include "ribbon/RibbonTab.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QResizeEvent>

namespace {
constexpr int separatorWidth = 7;
constexpr int margin = 4;
} // namespace

RibbonPage::RibbonPage(RibbonTab *tab, QWidget *parent) : QWidget(parent), m_tab(tab)
{
    setObjectName(tab->name() + QLatin1String("Page"));
    setProperty("ribbonPage", true);
    setAttribute(Qt::WA_StyledBackground);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(margin, 2, margin, 2);
    layout->setSpacing(0);
    for (Bar *bar : tab->groups()) {
        if (!m_groups.isEmpty()) {
            auto *line = new QFrame(this);
            line->setObjectName(QStringLiteral("ribbonGroupSeparator"));
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Plain);
            line->setFixedWidth(separatorWidth);
            layout->addWidget(line);
            m_separators << line;
        }
        auto *group = new RibbonGroupWidget(bar, this);
        layout->addWidget(group);
        m_groups << group;
        for (const BarItemLink &link : bar->links()) {
            connect(link.item, &BarItem::captionChanged, this, [this, group] {
                group->forgetWidths();
                fit(width());
            });
        }
    }
    layout->addStretch(1);
}

RibbonGroupWidget *RibbonPage::group(const QString &barName) const
{
    for (RibbonGroupWidget *group : m_groups) {
        if (group->bar()->name() == barName)
            return group;
    }
    return nullptr;
}

int RibbonPage::totalWidth(const QList<int> &stages) const
{
    int total = 2 * margin + int(m_separators.size()) * separatorWidth;
    for (qsizetype i = 0; i < m_groups.size(); ++i)
        total += m_groups.at(i)->widthAt(stages.at(i));
    return total;
}

void RibbonPage::fit(int width)
{
    QList<int> stages(m_groups.size(), 0);
    const auto fits = [&] { return totalWidth(stages) <= width; };
    bool stepped = true;
    while (!fits() && stepped) {
        stepped = false;
        for (qsizetype i = m_groups.size() - 1; i >= 0 && !fits(); --i) {
            if (stages[i] < m_groups.at(i)->collapsedStage() - 1) {
                ++stages[i];
                stepped = true;
            }
        }
    }
    for (qsizetype i = m_groups.size() - 1; i >= 0 && !fits(); --i)
        stages[i] = m_groups.at(i)->collapsedStage();
    for (qsizetype i = 0; i < m_groups.size(); ++i)
        m_groups.at(i)->setStage(stages.at(i));
}

void RibbonPage::forgetWidths()
{
    for (RibbonGroupWidget *group : m_groups)
        group->forgetWidths();
}

QSize RibbonPage::sizeHint() const
{
    return {QWidget::sizeHint().width(), RibbonGroupWidget::bodyHeight + 26};
}

QSize RibbonPage::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void RibbonPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        fit(event->size().width());
}
