#include "ribbon/RibbonStatusBar.h"

#include "ribbon/KeyboardStatePanel.h"

#include <QLabel>

RibbonStatusBar::RibbonStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("dxRibbonStatusBar"));
    setSizeGripEnabled(false);
}

QWidget *RibbonStatusBar::addPanel(const Panel &spec)
{
    QWidget *widget = nullptr;
    switch (spec.kind) {
    case TextPanel: {
        auto *label = new QLabel(spec.text, this);
        if (spec.colour.isValid()) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, spec.colour);
            label->setPalette(palette);
        }
        widget = label;
        break;
    }
    case ToolbarPanel:
        widget = new QWidget(this);
        break;
    case KeyboardStatePanel:
        widget = new ::KeyboardStatePanel(spec.keys, this);
        break;
    }
    widget->setObjectName(QStringLiteral("panel%1").arg(m_panels.size() + 1));
    widget->setProperty("statusPanel", true);
    if (spec.font)
        widget->setFont(*spec.font);
    if (spec.rightToLeft)
        widget->setLayoutDirection(Qt::RightToLeft);
    const int width = spec.width.value_or(
        spec.kind == KeyboardStatePanel ? widget->sizeHint().width() : defaultPanelWidth);
    if (spec.fixed) {
        widget->setFixedWidth(width);
        addWidget(widget, 0);
    } else {
        widget->setMinimumWidth(qMax(spec.minWidth, 0));
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
