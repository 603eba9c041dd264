#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QLabel;
class QWidget;
class Ribbon;

// Keyboard access to the ribbon. Pressing and releasing Alt alone shows a key tip on each
// visible tab; typing a tab's tip makes it active and shows tips on the items of its page
// (a collapsed group's button included); typing an item's tip runs it. Esc steps back, any
// click or other key ends it.
class KeyTipController : public QObject
{
    Q_OBJECT

public:
    enum class Level
    {
        Off,
        Tabs,
        Items,
    };

    explicit KeyTipController(Ribbon *ribbon);

    Level level() const { return m_level; }
    // The tips shown now, in the order of their targets.
    QStringList tips() const;
    QString tipFor(const QWidget *target) const;

    // Prefix-free tips for captions: a letter of the caption where one is free, else two
    // characters.
    static QStringList assign(const QStringList &captions);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Tip
    {
        QString keys;
        QPointer<QWidget> target;
        int tabIndex = -1;
        QLabel *label = nullptr;
    };

    void showTabTips();
    void showItemTips();
    void show(QList<Tip> tips);
    void clear();
    void typeKeys(const QString &text);
    void end();

    Ribbon *m_ribbon;
    Level m_level = Level::Off;
    bool m_altArmed = false;
    QString m_typed;
    QList<Tip> m_tips;
};
