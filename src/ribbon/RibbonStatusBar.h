#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QStatusBar>

#include <optional>

class KeyboardStatePanel;

// The status bar under the editor: panels left to right. A fixed panel keeps its width; a
// panel that is not fixed takes the width the others leave, never less than its minimum.
class RibbonStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    enum PanelKind
    {
        TextPanel,
        ToolbarPanel,
        KeyboardStatePanel,
    };

    // A key the keyboard-state panel shows: CapsLock, NumLock, ScrollLock or Insert (active:
    // overwrite mode).
    struct Key
    {
        QString key;
        QString activeCaption;
        QString inactiveCaption;
    };

    struct Panel
    {
        PanelKind kind = TextPanel;
        // None: the panel's own default width.
        std::optional<int> width;
        bool fixed = true;
        int minWidth = 0;
        bool rightToLeft = false;
        QString text;
        std::optional<QFont> font;
        // Invalid: the bar's text colour.
        QColor colour;
        QList<Key> keys;
    };

    // The width of a panel that gives none.
    static constexpr int defaultPanelWidth = 50;

    explicit RibbonStatusBar(QWidget *parent = nullptr);

    // Adds a panel at the right end and returns its widget: a QLabel for a text panel, an
    // empty QWidget to hold a toolbar, a ::KeyboardStatePanel.
    QWidget *addPanel(const Panel &panel);
    qsizetype panelCount() const { return m_panels.size(); }
    QWidget *panel(qsizetype index) const { return m_panels.value(index); }
    // The first keyboard-state panel, or nullptr.
    ::KeyboardStatePanel *keyboardStatePanel() const;

private:
    QList<QWidget *> m_panels;
};
