#include "ribbon/BarEditItem.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QDoubleValidator>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

BarEditItem::BarEditItem(const QString &name, ItemKind kind, QObject *parent)
    : BarItem(name, kind, parent)
{
}

QList<ItemForm> BarEditItem::forms(ViewLevels allowed) const
{
    QList<ItemForm> result;
    if (allowed & (ViewLevel::LargeIconWithText | ViewLevel::SmallIconWithText))
        result << ItemForm::SmallWithText;
    if (allowed & (ViewLevel::LargeControlOnly | ViewLevel::SmallIcon | ViewLevel::ControlOnly))
        result << ItemForm::SmallIcon;
    if (result.isEmpty())
        result << ItemForm::SmallWithText;
    return result;
}

QVariant BarEditItem::value() const
{
    return command() ? command()->data() : m_value;
}

void BarEditItem::commit(const QVariant &value)
{
    m_value = value;
    if (command())
        command()->setData(value);
    click();
}

QWidget *BarEditItem::createWidget(ItemForm form, const BarItemLink &link, QWidget *parent)
{
    auto *container = new QWidget(parent);
    container->setObjectName(name());
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    QLabel *label = nullptr;
    if (m_showCaption && form != ItemForm::SmallIcon) {
        label = new QLabel(container);
        layout->addWidget(label);
    }

    QComboBox *box;
    if (kind() == ItemKind::FontNameBox) {
        auto *fonts = new QFontComboBox(container);
        fonts->setEditable(true);
        fonts->completer()->setCompletionMode(QCompleter::InlineCompletion);
        connect(fonts, &QFontComboBox::currentFontChanged, this,
                [this](const QFont &font) { commit(font.family()); });
        box = fonts;
    } else {
        box = new QComboBox(container);
        box->setEditable(m_editable);
        for (const int size : m_sizes)
            box->addItem(QString::number(size));
        if (m_editable) {
            auto *validator = new QDoubleValidator(1, 1638, 1, box);
            validator->setNotation(QDoubleValidator::StandardNotation);
            box->setValidator(validator);
            connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, box] {
                bool ok = false;
                const double size = QLocale().toDouble(box->currentText(), &ok);
                if (ok && size > 0 && value() != QVariant(size))
                    commit(size);
            });
        }
        connect(box, &QComboBox::activated, this,
                [this, box](int index) { commit(box->itemText(index).toDouble()); });
    }
    box->setObjectName(name() + QLatin1String("Box"));
    box->setMaxVisibleItems(m_dropDownRows);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setFixedWidth(qMax(40, link.width.value_or(kind() == ItemKind::FontNameBox ? 160 : 56)));
    layout->addWidget(box);

    const auto present = [this, label, box] {
        if (label)
            label->setText(caption());
        box->setToolTip(action()->toolTip());
        box->setEnabled(action()->isEnabled());
        const QVariant current = value();
        if (current.isValid() && !box->hasFocus()) {
            const QSignalBlocker blocker(box);
            box->setCurrentText(current.typeId() == QMetaType::Double
                                    ? QLocale().toString(current.toDouble())
                                    : current.toString());
        }
    };
    present();
    connect(this, &BarItem::changed, container, present);
    return container;
}
