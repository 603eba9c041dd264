#include "ribbon/SkinController.h"

#include "ribbon/ItemPictures.h"

#include <QApplication>
#include <QPalette>

SkinController::SkinController(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("dxSkinController"));
}

QString SkinController::styleSheet()
{
    return QStringLiteral(R"(
QMainWindow, QStatusBar { background: #ffffff; }
[ribbon="true"] { background: #ffffff; border-bottom: 1px solid #e1e1e1; }
QTabBar#ribbonTabBar { background: #ffffff; }
QTabBar#ribbonTabBar::tab { background: transparent; border: none; padding: 5px 12px 5px 12px;
    margin: 0 1px; color: #262626; }
QTabBar#ribbonTabBar::tab:hover { background: #f0f0f0; }
QTabBar#ribbonTabBar::tab:selected { color: #185abd; border-bottom: 3px solid #185abd; }
[ribbonPage="true"] { background: #f9f9f9; border-top: 1px solid #e1e1e1; }
#ribbonPagePopup, #ribbonGroupPopup { background: #f9f9f9; border: 1px solid #c8c8c8; }
#ribbonGroupCaption { color: #605e5c; }
#ribbonGroupSeparator, #ribbonSeparator { color: #e1e1e1; }
[ribbonGroup="true"] QToolButton { border: 1px solid transparent; border-radius: 3px;
    padding: 1px; color: #262626; background: transparent; }
[ribbonGroup="true"] QToolButton[ribbonForm="large"] { padding: 2px 4px; }
[ribbonGroup="true"] QToolButton:hover { background: #e6e6e6; border-color: #d2d2d2; }
[ribbonGroup="true"] QToolButton:pressed, [ribbonGroup="true"] QToolButton:checked {
    background: #cde6f7; border-color: #9ec9eb; }
[ribbonGroup="true"] QToolButton:disabled { color: #a19f9d; }
[ribbonGroup="true"] QToolButton[popupMode="1"] { padding-right: 13px; }
[ribbonGroup="true"] QToolButton::menu-button { border: none; background: transparent; width: 12px; }
#ribbonButtonGroup { border: 1px solid #e1e1e1; border-radius: 3px; background: #ffffff; }
#ribbonKeyTip { background: #3b3b3b; color: #ffffff; border-radius: 2px; padding: 0 3px; }
QMenu[ribbonList="true"] { background: #ffffff; border: 1px solid #c8c8c8; padding: 3px; }
QMenu[ribbonList="true"]::item { padding: 4px 24px 4px 8px; border-radius: 2px; }
QMenu[ribbonList="true"]::item:selected { background: #e6e6e6; color: #262626; }
QMenu[ribbonList="true"]::item:disabled { color: #a19f9d; }
QMenu[ribbonList="true"]::icon { padding-left: 4px; }
QStatusBar#dxRibbonStatusBar { background: #f3f3f3; border-top: 1px solid #e1e1e1; }
QStatusBar#dxRibbonStatusBar::item { border: none; border-right: 1px solid #e1e1e1; }
QScrollBar:vertical { width: 6px; background: transparent; margin: 0; }
QScrollBar:vertical:hover { width: 12px; }
QScrollBar:horizontal { height: 6px; background: transparent; margin: 0; }
QScrollBar:horizontal:hover { height: 12px; }
QScrollBar::handle { background: #c8c8c8; border-radius: 3px; }
QScrollBar::handle:hover { background: #a6a6a6; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }
)");
}

void SkinController::apply(QApplication *application) const
{
    ItemPictures::ensureIconTheme();
    QPalette palette = application->palette();
    palette.setColor(QPalette::Window, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Base, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Button, QColor(0xfb, 0xfb, 0xfb));
    palette.setColor(QPalette::WindowText, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::ButtonText, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::Highlight, QColor(0x18, 0x5a, 0xbd));
    application->setPalette(palette);
    application->setStyleSheet(styleSheet());
}
