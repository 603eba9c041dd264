#pragma once

#include "ribbon/BarItem.h"

#include <QVariant>

// An edit box in a group: a font-name box (the system's fonts, each in its own face, typing
// completes a name) or a font-size box (a list of sizes; where editable, a typed size).
//
// The value travels through the bound command's data(): committing a value sets the data and
// runs the command, and a change of the command's data is shown in the box.
class BarEditItem : public BarItem
{
    Q_OBJECT

public:
    BarEditItem(const QString &name, ItemKind kind, QObject *parent = nullptr);

    bool showsCaption() const { return m_showCaption; }
    void setShowsCaption(bool shows) { m_showCaption = shows; }
    int dropDownRows() const { return m_dropDownRows; }
    void setDropDownRows(int rows) { m_dropDownRows = rows; }
    const QList<int> &sizes() const { return m_sizes; }
    void setSizes(const QList<int> &sizes) { m_sizes = sizes; }
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }

    QVariant value() const;
    void commit(const QVariant &value);

    bool isLarge() const override { return false; }
    // With its caption beside the box where a level with text is allowed, else the box alone.
    QList<ItemForm> forms(ViewLevels allowed) const override;
    QWidget *createWidget(ItemForm form, const BarItemLink &link, QWidget *parent) override;

private:
    bool m_showCaption = false;
    int m_dropDownRows = 8;
    QList<int> m_sizes;
    bool m_editable = true;
    QVariant m_value;
};
