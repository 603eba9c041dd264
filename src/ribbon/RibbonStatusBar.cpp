#include "ribbon/RibbonStatusBar.h"

#include "ribbon/KeyboardStatePanel.h"

#include <QLabel>

RibbonStatusBar::RibbonStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("dxRibbonStatusBar"));
    setSizeGripEnabled(false);
}

QWidget *RibbonStatusBar::addPanel(const Panel &panel)
{
    QWidget *widget = nullptr;
    switch (panel.kind) {
    case TextPanel: {
        auto *label = new QLabel(panel.text, this);
        if (panel.colour.isValid()) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, panel.colour);
            label->setPalette(palette);
        }
        widget = label;
        break;
    }
    case ToolbarPanel:
        widget = new QWidget(this);
        break;
    case KeyboardStatePanel:
        widget = new ::KeyboardStatePanel(panel.keys, this);
        break;
    }
    widget->setObjectName(QStringLiteral("panel%1").arg(m_panels.size() + 1));
    widget->setProperty("statusPanel", true);
    if (panel.font)
        widget->setFont(*panel.font);
    if (panel.rightToLeft)
        widget->setLayoutDirection(Qt::RightToLeft);
    const int width = panel.width.value_or(
        panel.kind == KeyboardStatePanel ? widget->sizeHint().width() : defaultPanelWidth);
    if (panel.fixed) {
        widget->setFixedWidth(width);
        addWidget(widget, 0);
    } else {
        widget->setMinimumWidth(qMax(panel.minWidth, 0));
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        addWidget(widget, 1);
    }
    m_panels << widget;
    return widget;
}

::KeyboardStatePanel *RibbonStatusBar::keyboardStatePanel() const
{
    for (QWidget *panel : m_panels) {
        if (auto *keys = qobject_cast<::KeyboardStatePanel *>(panel))
            return keys;
    }
    return nullptr;
}
