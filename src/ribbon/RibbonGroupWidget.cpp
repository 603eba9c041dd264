#include "ribbon/RibbonGroupWidget.h"

#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/ItemButton.h"
#include "ribbon/ItemPictures.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QFrame *separatorLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("ribbonSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedWidth(9);
    return line;
}

// A column of up to three small rows, spread evenly over the body's height.
class Column
{
public:
    explicit Column(QHBoxLayout *columns) : m_columns(columns) {}

    bool isFull() const { return m_rows.size() == 3; }
    bool isEmpty() const { return m_rows.isEmpty(); }

    QHBoxLayout *newRow()
    {
        auto *row = new QHBoxLayout;
        row->setSpacing(2);
        m_rows << row;
        return row;
    }

    void flush()
    {
        if (m_rows.isEmpty())
            return;
        auto *column = new QVBoxLayout;
        column->setSpacing(0);
        column->addStretch(1);
        for (QHBoxLayout *row : m_rows) {
            row->addStretch(1);
            column->addLayout(row);
            column->addStretch(1);
        }
        m_columns->addLayout(column);
        m_rows.clear();
    }

private:
    QHBoxLayout *m_columns;
    QList<QHBoxLayout *> m_rows;
};

} // namespace

RibbonGroupWidget::RibbonGroupWidget(Bar *bar, QWidget *parent) : QWidget(parent), m_bar(bar)
{
    setObjectName(bar->name());
    setProperty("ribbonGroup", true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 2, 3, 1);
    layout->setSpacing(0);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("ribbonGroupCaption"));
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    layout->addWidget(m_caption);
    for (const BarItemLink &link : bar->links())
        connect(link.item, &BarItem::activated, this, &RibbonGroupWidget::itemActivated);
    rebuild();
}

int RibbonGroupWidget::stageCount() const
{
    qsizetype forms = 1;
    for (const BarItemLink &link : m_bar->links())
        forms = qMax(forms, link.item->forms(link.allowedViewLevels()).size());
    return int(forms) + 1;
}

void RibbonGroupWidget::setStage(int stage)
{
    stage = qBound(0, stage, collapsedStage());
    if (stage == m_stage)
        return;
    m_stage = stage;
    rebuild();
}

int RibbonGroupWidget::widthAt(int stage)
{
    if (!m_widths.contains(stage)) {
        QHash<QString, QWidget *> unused;
        QWidget *probe = stage == collapsedStage() ? buildCollapsed() : buildBody(stage, &unused);
        // Measured with the style sheet applied, as the shown group will be.
        probe->ensurePolished();
        const int contentWidth = probe->sizeHint().width();
        const int captionWidth =
            stage == collapsedStage()
                ? 0
                : m_caption->fontMetrics().horizontalAdvance(m_bar->caption()) + 8;
        const QMargins margins = layout()->contentsMargins();
        m_widths.insert(stage, qMax(contentWidth, captionWidth) + margins.left() + margins.right());
        delete probe;
    }
    return m_widths.value(stage);
}

QWidget *RibbonGroupWidget::widgetFor(const QString &itemName) const
{
    return m_widgets.value(itemName);
}

QList<QPair<BarItem *, QWidget *>> RibbonGroupWidget::itemWidgets() const
{
    QList<QPair<BarItem *, QWidget *>> result;
    for (const BarItemLink &link : m_bar->links()) {
        if (QWidget *widget = m_widgets.value(link.item->name()))
            result.append({link.item, widget});
    }
    return result;
}

void RibbonGroupWidget::rebuild()
{
    delete m_body;
    m_widgets.clear();
    m_collapsedButton = nullptr;
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    if (isCollapsed()) {
        m_body = buildCollapsed();
        m_caption->hide();
    } else {
        m_body = buildBody(m_stage, &m_widgets);
        m_caption->setText(m_bar->caption());
        m_caption->show();
    }
    m_body->setParent(this);
    layout->insertWidget(0, m_body, 1);
    m_body->show();
}

QWidget *RibbonGroupWidget::buildBody(int stage, QHash<QString, QWidget *> *widgets)
{
    auto *body = new QWidget;
    body->setFixedHeight(bodyHeight);
    auto *columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(2);

    Column column(columns);
    QHBoxLayout *row = nullptr;
    QHBoxLayout *joined = nullptr;
    bool previousLarge = false;
    const QList<BarItemLink> &links = m_bar->links();
    for (qsizetype i = 0; i < links.size(); ++i) {
        const BarItemLink &link = links.at(i);
        const QList<ItemForm> forms = link.item->forms(link.allowedViewLevels());
        const ItemForm form = forms.at(qMin<qsizetype>(stage, forms.size() - 1));
        QWidget *widget = link.item->createWidget(form, link, body);
        widgets->insert(link.item->name(), widget);

        if (link.separatorBefore && i > 0) {
            column.flush();
            row = nullptr;
            columns->addWidget(separatorLine(body));
        }
        if (form == ItemForm::Large) {
            column.flush();
            row = nullptr;
            columns->addWidget(widget);
            previousLarge = true;
            continue;
        }
        if (!row || !link.continuesRow || previousLarge) {
            if (column.isFull())
                column.flush();
            row = column.newRow();
            joined = nullptr;
        }
        previousLarge = false;
        if (qobject_cast<QToolButton *>(widget)) {
            if (!joined || link.buttonGroupStart) {
                auto *frame = new QFrame(body);
                frame->setObjectName(QStringLiteral("ribbonButtonGroup"));
                joined = new QHBoxLayout(frame);
                joined->setContentsMargins(0, 0, 0, 0);
                joined->setSpacing(0);
                row->addWidget(frame);
            }
            widget->setFixedHeight(rowHeight - 2);
            joined->addWidget(widget);
        } else {
            widget->setFixedHeight(rowHeight - 2);
            row->addWidget(widget);
            joined = nullptr;
        }
    }
    column.flush();
    return body;
}

QWidget *RibbonGroupWidget::buildCollapsed()
{
    auto *button = new QToolButton;
    button->setObjectName(m_bar->name() + QLatin1String("Collapsed"));
    button->setProperty("ribbonForm", "large");
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setText(ItemButton::twoLines(m_bar->caption() + QStringLiteral(" \u25BE")));
    button->setToolTip(m_bar->caption());
    QIcon icon;
    for (const BarItemLink &link : m_bar->links()) {
        if (!link.item->pictures().isEmpty()) {
            icon = link.item->action()->icon();
            break;
        }
    }
    button->setIcon(icon.isNull() ? ItemPictures::fallbackIcon(m_bar->caption()) : icon);
    button->setFixedHeight(bodyHeight + 16);
    connect(button, &QToolButton::clicked, this, &RibbonGroupWidget::showPopup);
    m_collapsedButton = button;
    return button;
}

void RibbonGroupWidget::showPopup()
{
    if (!m_collapsedButton)
        return;
    delete m_popup;
    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setObjectName(QStringLiteral("ribbonGroupPopup"));
    m_popup->setAttribute(Qt::WA_DeleteOnClose);
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    auto *whole = new RibbonGroupWidget(m_bar, m_popup);
    layout->addWidget(whole);
    connect(whole, &RibbonGroupWidget::itemActivated, m_popup, &QWidget::close);
    m_popup->adjustSize();
    QPoint at = m_collapsedButton->mapToGlobal(QPoint(0, m_collapsedButton->height()));
    if (const QScreen *screen = m_collapsedButton->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - m_popup->width())));
    }
    m_popup->move(at);
    m_popup->show();
}
