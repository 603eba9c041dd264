// marlix-design-dump DESIGN.json: loads a window design through the ribbon loader and prints
// what was built as canonical JSON on standard output, for checking a design by eye or diff.

#include "OrderedJson.h"

#include "platform/Exception.h"
#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/BarSubItem.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonDesignLoader.h"
#include "ribbon/RibbonTab.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

const std::pair<ViewLevel, const char *> levelNames[] = {
    {ViewLevel::LargeIconWithText, "ivlLargeIconWithText"},
    {ViewLevel::LargeControlOnly, "ivlLargeControlOnly"},
    {ViewLevel::SmallIconWithText, "ivlSmallIconWithText"},
    {ViewLevel::SmallIcon, "ivlSmallIcon"},
    {ViewLevel::ControlOnly, "ivlControlOnly"},
};

OrderedJson dump(const Ribbon &ribbon)
{
    const BarManager &manager = *ribbon.barManager();

    OrderedJson tabs = OrderedJson::array();
    for (const RibbonTab *tab : ribbon.tabs()) {
        OrderedJson groups = OrderedJson::array();
        for (const Bar *bar : tab->groups())
            groups.append(OrderedJson::string(bar->name()));
        tabs.append(OrderedJson::object()
                        .insert(QStringLiteral("name"), OrderedJson::string(tab->name()))
                        .insert(QStringLiteral("caption"), OrderedJson::string(tab->caption()))
                        .insert(QStringLiteral("groups"), std::move(groups)));
    }

    OrderedJson groups = OrderedJson::array();
    for (const Bar *bar : manager.bars()) {
        OrderedJson links = OrderedJson::array();
        for (const BarItemLink &link : bar->links()) {
            OrderedJson levels = OrderedJson::null();
            if (link.viewLevels) {
                levels = OrderedJson::array();
                for (const auto &[level, name] : levelNames) {
                    if (link.viewLevels->testFlag(level))
                        levels.append(OrderedJson::string(QString::fromLatin1(name)));
                }
            }
            links.append(
                OrderedJson::object()
                    .insert(QStringLiteral("item"), OrderedJson::string(link.item->name()))
                    .insert(QStringLiteral("continuesRow"), OrderedJson::boolean(link.continuesRow))
                    .insert(QStringLiteral("buttonGroupStart"),
                            OrderedJson::boolean(link.buttonGroupStart))
                    .insert(QStringLiteral("separatorBefore"),
                            OrderedJson::boolean(link.separatorBefore))
                    .insert(QStringLiteral("width"),
                            link.width ? OrderedJson::number(*link.width) : OrderedJson::null())
                    .insert(QStringLiteral("viewLevels"), std::move(levels)));
        }
        groups.append(OrderedJson::object()
                          .insert(QStringLiteral("name"), OrderedJson::string(bar->name()))
                          .insert(QStringLiteral("caption"), OrderedJson::string(bar->caption()))
                          .insert(QStringLiteral("links"), std::move(links)));
    }

    OrderedJson items = OrderedJson::array();
    for (const BarItem *item : manager.items()) {
        OrderedJson entries = OrderedJson::null();
        if (const auto *sub = qobject_cast<const BarSubItem *>(item)) {
            entries = OrderedJson::array();
            for (const BarItem *entry : sub->entries())
                entries.append(OrderedJson::string(entry->name()));
        }
        const std::optional<QString> action =
            item->command() ? std::optional(item->command()->objectName()) : std::nullopt;
        const std::optional<QString> handler =
            item->handlerName().isEmpty() ? std::nullopt : std::optional(item->handlerName());
        items.append(
            OrderedJson::object()
                .insert(QStringLiteral("name"), OrderedJson::string(item->name()))
                .insert(QStringLiteral("kind"), OrderedJson::string(itemKindWord(item->kind())))
                .insert(QStringLiteral("caption"), OrderedJson::optionalString(item->ownCaption()))
                .insert(QStringLiteral("hint"), OrderedJson::optionalString(item->ownHint()))
                .insert(QStringLiteral("action"), OrderedJson::optionalString(action))
                .insert(QStringLiteral("handler"), OrderedJson::optionalString(handler))
                .insert(QStringLiteral("entries"), std::move(entries))
                .insert(QStringLiteral("inGroup"), OrderedJson::boolean(manager.isInGroup(item))));
    }

    OrderedJson actions = OrderedJson::array();
    for (const BarManager::Command &command : manager.commands()) {
        actions.append(
            OrderedJson::object()
                .insert(QStringLiteral("name"), OrderedJson::string(command.name))
                .insert(QStringLiteral("class"), OrderedJson::string(command.className))
                .insert(QStringLiteral("category"), command.category.isEmpty()
                                                        ? OrderedJson::null()
                                                        : OrderedJson::string(command.category)));
    }

    return OrderedJson::object()
        .insert(QStringLiteral("tabs"), std::move(tabs))
        .insert(QStringLiteral("groups"), std::move(groups))
        .insert(QStringLiteral("items"), std::move(items))
        .insert(QStringLiteral("actions"), std::move(actions));
}

} // namespace

int main(int argc, char **argv)
{
    // Building the ribbon needs widgets but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: marlix-design-dump DESIGN.json\n");
        return 2;
    }
    try {
        // Nothing runs here: every handler the design names is accepted, and refuses to run.
        const auto handlers = [](const QString &name) -> RibbonDesignLoader::Handler {
            return [name] {
                throw Exception(name + QLatin1String(" does not run in marlix-design-dump"));
            };
        };
        BarManager manager;
        Ribbon ribbon(&manager);
        RibbonDesignLoader(nullptr, handlers)
            .load(RibbonDesignLoader::read(arguments.at(1)), &ribbon);
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        out.write(dump(ribbon).toText().toUtf8());
    } catch (const Exception &failure) {
        std::fprintf(stderr, "marlix-design-dump: %s\n", failure.what());
        return 1;
    }
    return 0;
}
