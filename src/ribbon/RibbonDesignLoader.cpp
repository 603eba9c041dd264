#include "ribbon/RibbonDesignLoader.h"

#include "platform/Exception.h"
#include "ribbon/Bar.h"
#include "ribbon/BarButton.h"
#include "ribbon/BarEditItem.h"
#include "ribbon/BarLargeButton.h"
#include "ribbon/BarManager.h"
#include "ribbon/BarSubItem.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonColorGalleryItem.h"
#include "ribbon/RibbonStatusBar.h"
#include "ribbon/RibbonTab.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

std::optional<QString> optionalText(const QJsonValue &value)
{
    if (value.isNull() || value.isUndefined())
        return std::nullopt;
    return value.toString();
}

std::optional<ItemPicture> picture(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject slot = value.toObject();
    return ItemPicture{slot.value(QLatin1String("icon")).toString(),
                       slot.value(QLatin1String("size")).toInt(16)};
}

ViewLevel viewLevel(const QString &name)
{
    static const QHash<QString, ViewLevel> levels = {
        {QStringLiteral("ivlLargeIconWithText"), ViewLevel::LargeIconWithText},
        {QStringLiteral("ivlLargeControlOnly"), ViewLevel::LargeControlOnly},
        {QStringLiteral("ivlSmallIconWithText"), ViewLevel::SmallIconWithText},
        {QStringLiteral("ivlSmallIcon"), ViewLevel::SmallIcon},
        {QStringLiteral("ivlControlOnly"), ViewLevel::ControlOnly},
    };
    const auto found = levels.find(name);
    if (found == levels.end())
        throw Exception(QStringLiteral("Unknown view level \"%1\" in the design").arg(name));
    return *found;
}

BarItem *createItem(const QString &name, ItemKind kind)
{
    switch (kind) {
    case ItemKind::LargeButton:
    case ItemKind::LargeCheckButton:
        return new BarLargeButton(name, kind == ItemKind::LargeCheckButton);
    case ItemKind::Button:
    case ItemKind::CheckButton:
        return new BarButton(name, kind == ItemKind::CheckButton);
    case ItemKind::SubMenu:
        return new BarSubItem(name);
    case ItemKind::FontNameBox:
    case ItemKind::FontSizeBox:
        return new BarEditItem(name, kind);
    case ItemKind::ColourGallery:
        return new RibbonColorGalleryItem(name);
    }
    return nullptr;
}

QFont designFont(const QJsonObject &font)
{
    QFont result(font.value(QLatin1String("Name")).toString());
    result.setPixelSize(qAbs(font.value(QLatin1String("Height")).toInt(-11)));
    return result;
}

QColor designColour(const QString &name)
{
    // clDefault and the palette colours leave the widget's own colour.
    if (name == QLatin1String("clRed"))
        return Qt::red;
    return {};
}

} // namespace

RibbonDesignLoader::RibbonDesignLoader(CommandFactory commandFactory, HandlerResolver handlers)
    : m_commandFactory(std::move(commandFactory)), m_handlers(std::move(handlers))
{
}

RibbonDesignLoader::HandlerResolver
RibbonDesignLoader::table(const QHash<QString, Handler> &handlers)
{
    return [handlers](const QString &name) { return handlers.value(name); };
}

QJsonObject RibbonDesignLoader::read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(
            QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull())
        throw Exception(QStringLiteral("The design \"%1\" is not valid JSON: %2 at offset %3")
                            .arg(fileName, error.errorString())
                            .arg(error.offset));
    const QJsonObject design = document.object();
    if (design.value(QLatin1String("format")).toString() != QLatin1String("marlix-window-design"))
        throw Exception(QStringLiteral("The file \"%1\" is not a window design").arg(fileName));
    return design;
}

QString RibbonDesignLoader::captionFromClass(const QString &commandClass)
{
    QString caption;
    for (qsizetype i = 0; i < commandClass.size(); ++i) {
        const QChar c = commandClass.at(i);
        if (i > 0 && c.isUpper() && !commandClass.at(i - 1).isUpper())
            caption += QLatin1Char(' ');
        caption += c;
    }
    return caption;
}

void RibbonDesignLoader::load(const QJsonObject &design, Ribbon *ribbon,
                              RibbonStatusBar *statusBar) const
{
    BarManager *manager = ribbon->barManager();
    loadCommands(design, manager);
    loadItems(design, manager);
    loadGroups(design, manager);
    loadTabs(design, ribbon);
    if (statusBar)
        loadStatusBar(design, statusBar);
    ribbon->rebuild();
}

void RibbonDesignLoader::loadCommands(const QJsonObject &design, BarManager *manager) const
{
    for (const QJsonValue &value : design.value(QLatin1String("actions")).toArray()) {
        const QJsonObject object = value.toObject();
        BarManager::Command command;
        command.name = object.value(QLatin1String("name")).toString();
        command.className = object.value(QLatin1String("class")).toString();
        command.category = object.value(QLatin1String("category")).toString();
        command.action =
            m_commandFactory ? m_commandFactory(command.className, command.name, manager) : nullptr;
        if (!command.action) {
            command.action = new QAction(captionFromClass(command.className), manager);
            command.action->setEnabled(false);
        }
        command.action->setObjectName(command.name);
        manager->addCommand(command);
    }
}

void RibbonDesignLoader::loadItems(const QJsonObject &design, BarManager *manager) const
{
    const QJsonArray items = design.value(QLatin1String("items")).toArray();
    for (const QJsonValue &value : items) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        const QString kindWord = object.value(QLatin1String("kind")).toString();
        const std::optional<ItemKind> kind = itemKindFromWord(kindWord);
        if (!kind)
            throw Exception(
                QStringLiteral("The item %1 has an unknown kind \"%2\"").arg(name, kindWord));
        BarItem *item = createItem(name, *kind);
        manager->addItem(item);
        item->setCaption(optionalText(object.value(QLatin1String("caption"))));
        item->setHint(optionalText(object.value(QLatin1String("hint"))));
        const QJsonObject pictures = object.value(QLatin1String("pictures")).toObject();
        item->setPictures({picture(pictures.value(QLatin1String("small"))),
                           picture(pictures.value(QLatin1String("large"))),
                           picture(pictures.value(QLatin1String("hot")))});

        if (const auto action = optionalText(object.value(QLatin1String("action")))) {
            const BarManager::Command *command = manager->command(*action);
            if (!command)
                throw Exception(
                    QStringLiteral("The item %1 names an unknown action %2").arg(name, *action));
            item->setCommand(command->action);
            if (auto *gallery = qobject_cast<RibbonColorGalleryItem *>(item)) {
                const bool noColour = command->className == QLatin1String("TextHighlight") ||
                                      command->className == QLatin1String("ChangePageColor");
                gallery->setAutomaticCaption(noColour ? QObject::tr("No Color")
                                                      : QObject::tr("Automatic"));
            }
        }
        if (const auto handler = optionalText(object.value(QLatin1String("handler")))) {
            Handler bound = m_handlers ? m_handlers(*handler) : Handler();
            if (!bound)
                throw Exception(
                    QStringLiteral("The item %1 names an unknown handler %2").arg(name, *handler));
            item->setHandler(*handler, std::move(bound));
        }

        const QJsonObject properties = object.value(QLatin1String("properties")).toObject();
        if (properties.contains(QLatin1String("closeSubMenuOnClick")))
            item->setClosesSubMenuOnClick(
                properties.value(QLatin1String("closeSubMenuOnClick")).toBool());
        if (properties.value(QLatin1String("down")).toBool())
            item->action()->setChecked(true);
        if (auto *edit = qobject_cast<BarEditItem *>(item)) {
            edit->setShowsCaption(properties.value(QLatin1String("showCaption")).toBool());
            edit->setDropDownRows(properties.value(QLatin1String("dropDownRows")).toInt(8));
            edit->setEditable(properties.value(QLatin1String("editable")).toBool(true));
            QList<int> sizes;
            for (const QJsonValue &size : properties.value(QLatin1String("sizes")).toArray())
                sizes << size.toInt();
            edit->setSizes(sizes);
        }
    }
    // Entries may name items that stand later in the list.
    for (const QJsonValue &value : items) {
        const QJsonObject object = value.toObject();
        const QJsonValue entries = object.value(QLatin1String("entries"));
        if (!entries.isArray())
            continue;
        const QString name = object.value(QLatin1String("name")).toString();
        auto *sub = qobject_cast<BarSubItem *>(manager->item(name));
        if (!sub)
            throw Exception(QStringLiteral("The item %1 has entries but is no sub-menu").arg(name));
        QList<BarItem *> list;
        for (const QJsonValue &entry : entries.toArray()) {
            BarItem *item = manager->item(entry.toString());
            if (!item)
                throw Exception(QStringLiteral("The sub-menu %1 lists an unknown item %2")
                                    .arg(name, entry.toString()));
            list << item;
        }
        sub->setEntries(list);
    }
}

void RibbonDesignLoader::loadGroups(const QJsonObject &design, BarManager *manager) const
{
    for (const QJsonValue &value : design.value(QLatin1String("groups")).toArray()) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        QList<BarItemLink> links;
        for (const QJsonValue &linkValue : object.value(QLatin1String("links")).toArray()) {
            const QJsonObject l = linkValue.toObject();
            BarItemLink link;
            const QString itemName = l.value(QLatin1String("item")).toString();
            link.item = manager->item(itemName);
            if (!link.item)
                throw Exception(
                    QStringLiteral("The group %1 links an unknown item %2").arg(name, itemName));
            link.continuesRow = l.value(QLatin1String("continuesRow")).toBool();
            link.buttonGroupStart = l.value(QLatin1String("buttonGroupStart")).toBool();
            link.separatorBefore = l.value(QLatin1String("separatorBefore")).toBool();
            if (l.value(QLatin1String("width")).isDouble())
                link.width = l.value(QLatin1String("width")).toInt();
            if (l.value(QLatin1String("viewLevels")).isArray()) {
                ViewLevels levels;
                for (const QJsonValue &level : l.value(QLatin1String("viewLevels")).toArray())
                    levels |= viewLevel(level.toString());
                link.viewLevels = levels;
            }
            links << link;
        }
        manager->addBar(name, object.value(QLatin1String("caption")).toString())->setLinks(links);
    }
}

void RibbonDesignLoader::loadTabs(const QJsonObject &design, Ribbon *ribbon) const
{
    BarManager *manager = ribbon->barManager();
    RibbonTab *active = nullptr;
    for (const QJsonValue &value : design.value(QLatin1String("tabs")).toArray()) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        RibbonTab *tab = ribbon->addTab(name, object.value(QLatin1String("caption")).toString());
        QList<Bar *> groups;
        for (const QJsonValue &group : object.value(QLatin1String("groups")).toArray()) {
            Bar *bar = manager->bar(group.toString());
            if (!bar)
                throw Exception(QStringLiteral("The tab %1 names an unknown group %2")
                                    .arg(name, group.toString()));
            groups << bar;
        }
        tab->setGroups(groups);
        if (object.value(QLatin1String("activeInDesign")).toBool())
            active = tab;
    }
    if (active)
        ribbon->setActiveTab(active);
}

void RibbonDesignLoader::loadStatusBar(const QJsonObject &design, RibbonStatusBar *statusBar)
{
    const QJsonObject bar = design.value(QLatin1String("statusBar")).toObject();
    const QJsonObject properties = bar.value(QLatin1String("properties")).toObject();
    statusBar->setObjectName(bar.value(QLatin1String("name")).toString());
    statusBar->setFont(designFont(properties.value(QLatin1String("Font")).toObject()));
    statusBar->setFixedHeight(properties.value(QLatin1String("Height")).toInt(statusBar->height()));
    for (const QJsonValue &value : bar.value(QLatin1String("panels")).toArray()) {
        const QJsonObject object = value.toObject();
        RibbonStatusBar::Panel panel;
        const QString kind = object.value(QLatin1String("kind")).toString();
        panel.kind = kind == QLatin1String("text")             ? RibbonStatusBar::TextPanel
                     : kind == QLatin1String("keyboard state") ? RibbonStatusBar::KeyboardStatePanel
                                                               : RibbonStatusBar::ToolbarPanel;
        if (object.value(QLatin1String("width")).isDouble())
            panel.width = object.value(QLatin1String("width")).toInt();
        panel.fixed = object.value(QLatin1String("fixed")).toBool(true);
        panel.minWidth = object.value(QLatin1String("minWidth")).toInt(0);
        panel.rightToLeft = object.value(QLatin1String("rightToLeft")).toBool();
        panel.text = object.value(QLatin1String("text")).toString();
        if (object.value(QLatin1String("font")).isObject()) {
            const QJsonObject font = object.value(QLatin1String("font")).toObject();
            panel.font = designFont(font);
            panel.colour = designColour(font.value(QLatin1String("Color")).toString());
        }
        for (const QJsonValue &key : object.value(QLatin1String("keys")).toArray()) {
            const QJsonObject k = key.toObject();
            panel.keys.append({k.value(QLatin1String("key")).toString(),
                               k.value(QLatin1String("activeCaption")).toString(),
                               k.value(QLatin1String("inactiveCaption")).toString()});
        }
        statusBar->addPanel(panel);
    }
}
