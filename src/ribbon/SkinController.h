#pragma once

#include <QObject>
#include <QString>

class QApplication;

// The look of the window and its controls: a light, flat style for the window, the ribbon,
// its groups and lists, the status bar and the scroll bars (thin until the pointer is over
// them). Plain pop-up menus are left to the platform's style; the ribbon's own lists (its
// sub-menus) are styled.
class SkinController : public QObject
{
    Q_OBJECT

public:
    explicit SkinController(QObject *parent = nullptr);

    // The style sheet the look sets.
    static QString styleSheet();
    // Gives the application the light palette and the style sheet, and the Breeze icon theme
    // where the desktop names none.
    void apply(QApplication *application) const;
};
