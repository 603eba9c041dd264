#pragma once

#include <QHash>
#include <QJsonObject>
#include <QString>

#include <functional>

class BarManager;
class QAction;
class QObject;
class Ribbon;
class RibbonStatusBar;

// Builds a window's ribbon, its groups and items, its command objects and its status bar
// from a window design (resources/DESIGN-FORMAT.md), binding actions and handlers by name.
//
// Each command object comes from the command factory, given the object's class and name; a
// class the factory does not know (it returns nullptr) gives a disabled action whose caption
// is the class name in words, so nothing pretends to work. A handler name comes from the
// handler resolver; a name it does not know, like an unknown item, group, action or kind in
// the design, stops the load with an Exception that names it.
class RibbonDesignLoader
{
public:
    using CommandFactory = std::function<QAction *(const QString &commandClass,
                                                   const QString &objectName, QObject *parent)>;
    using Handler = std::function<void()>;
    // An empty Handler: no such handler.
    using HandlerResolver = std::function<Handler(const QString &name)>;

    RibbonDesignLoader(CommandFactory commandFactory, HandlerResolver handlers);

    // A resolver that looks names up in a table.
    static HandlerResolver table(const QHash<QString, Handler> &handlers);

    // Reads a design file; throws Exception when it cannot be read or is not a design.
    static QJsonObject read(const QString &fileName);

    // Fills the bar manager and the ribbon (the ribbon's manager) and, when given, the status
    // bar; the ribbon's tabs and pages are built when this returns.
    void load(const QJsonObject &design, Ribbon *ribbon,
              RibbonStatusBar *statusBar = nullptr) const;

    // "ToggleFontBold" -> "Toggle Font Bold".
    static QString captionFromClass(const QString &commandClass);

private:
    void loadCommands(const QJsonObject &design, BarManager *manager) const;
    void loadItems(const QJsonObject &design, BarManager *manager) const;
    void loadGroups(const QJsonObject &design, BarManager *manager) const;
    void loadTabs(const QJsonObject &design, Ribbon *ribbon) const;
    static void loadStatusBar(const QJsonObject &design, RibbonStatusBar *statusBar);

    CommandFactory m_commandFactory;
    HandlerResolver m_handlers;
};
