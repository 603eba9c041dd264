// The main window's design loaded through RibbonDesignLoader: structure, items, bindings,
// errors, and the design-dump tool's view of the same load.

#include "platform/Exception.h"
#include "platform/ScriptedUiHost.h"
#include "ribbon/Bar.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/BarSubItem.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonDesignLoader.h"
#include "ribbon/RibbonTab.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

namespace {

QStringList names(const QList<BarItem *> &items)
{
    QStringList result;
    for (const BarItem *item : items)
        result << item->name();
    return result;
}

// A design built by the real loader, with commands of two classes built and every handler
// counting its calls.
struct LoadedDesign
{
    BarManager manager;
    Ribbon ribbon{&manager};
    QHash<QString, int> handlerCalls;

    explicit LoadedDesign(
        const QJsonObject &design = RibbonDesignLoader::read(QStringLiteral(MARLIX_DESIGN_FILE)))
    {
        const auto factory = [](const QString &commandClass, const QString &,
                                QObject *parent) -> QAction * {
            if (commandClass == QLatin1String("ToggleFontBold")) {
                auto *bold = new QAction(QStringLiteral("Bold"), parent);
                bold->setStatusTip(QStringLiteral("Make the selected text bold."));
                bold->setCheckable(true);
                return bold;
            }
            return nullptr;
        };
        const auto handlers = [this](const QString &name) -> RibbonDesignLoader::Handler {
            if (name.startsWith(QLatin1String("Unknown")))
                return {};
            return [this, name] { ++handlerCalls[name]; };
        };
        RibbonDesignLoader(factory, handlers).load(design, &ribbon);
    }

    BarItem *item(const char *name) const { return manager.item(QLatin1String(name)); }
};

} // namespace

class TestRibbonDesign : public QObject
{
    Q_OBJECT

private slots:
    void tabsAndGroupsInOrder();
    void items_data();
    void items();
    void sharedCommandObjects();
    void subMenusListTheirEntriesInOrder();
    void cellAlignmentButtonsAreNineRows();
    void boundItemsFollowTheirCommand();
    void handlersRunAndFailuresAreReported();
    void unknownNamesStopTheLoad_data();
    void unknownNamesStopTheLoad();
    void dumpToolPrintsTheLoadedDesign();
};

void TestRibbonDesign::tabsAndGroupsInOrder()
{
    LoadedDesign design;
    const QList<QPair<QString, QString>> tabs = {
        {"ZalozkaSoubor", "Soubor"},
        {"ZalozkaDomu", "Domů"},
        {"ZalozkaVlozit", "Vložení"},
        {"ZalozkaRozlozeniStranky", "Rozložení stránky"},
        {"ZalozkaReference", "Reference"},
        {"ZalozkaRevize", "Revize"},
        {"ZalozkaZobrazeni", "Zobrazení"},
        {"ZalozkaZahlaviZapati", "Záhlaví a zápatí"},
        {"ZalozkaNavrhTabulky", "Návrh Tabulky"},
        {"ZalozkaRozlozeniTabulky", "Rozložení tabulky"},
        {"ZalozkaNapoveda", "Nápověda"},
    };
    QCOMPARE(design.ribbon.tabs().size(), tabs.size());
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        QCOMPARE(design.ribbon.tabs().at(i)->name(), tabs.at(i).first);
        QCOMPARE(design.ribbon.tabs().at(i)->caption(), tabs.at(i).second);
        QVERIFY(design.ribbon.tabs().at(i)->isVisible());
    }
    QCOMPARE(design.ribbon.activeTab()->name(), QStringLiteral("ZalozkaSoubor"));

    QStringList homeGroups;
    for (const Bar *bar : design.ribbon.tab(QStringLiteral("ZalozkaDomu"))->groups())
        homeGroups << bar->name() + QLatin1Char('=') + bar->caption();
    QCOMPARE(homeGroups, QStringList({"ZalozkaDomuSchranka=Schránka", "ZalozkaDomuPismo=Písmo",
                                      "ZalozkaDomuOdstavec=Odstavec", "ZalozkaDomuStyly=Styly",
                                      "ZalozkaDomuUpravy=Úpravy"}));
    QCOMPARE(design.manager.bars().size(), 36);
    qsizetype placed = 0;
    for (const RibbonTab *tab : design.ribbon.tabs())
        placed += tab->groups().size();
    QCOMPARE(placed, 36);
    QCOMPARE(design.manager.bar(QStringLiteral("ZalozkaRozlozeniStrankyBarva"))->caption(),
             QStringLiteral("Barva"));
    QCOMPARE(design.manager.items().size(), 200);
    QCOMPARE(design.manager.commands().size(), 171);
}

void TestRibbonDesign::items_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("kind");
    // Flags of the link: C continues the row, B starts a button group, S separator before.
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("viewLevels");
    QTest::addColumn<QString>("binding");

    const int all = int(BarItemLink::allViewLevels);
    const int withoutSmallText = int(ViewLevel::LargeIconWithText | ViewLevel::LargeControlOnly |
                                     ViewLevel::SmallIcon | ViewLevel::ControlOnly);
    const int withoutText =
        int(ViewLevel::LargeControlOnly | ViewLevel::SmallIcon | ViewLevel::ControlOnly);
    QTest::newRow("font-name box")
        << "bePismo"
        << "ZalozkaDomuPismo"
        << "font-name box"
        << "" << 229 << withoutSmallText << "action acDomuPismoZmenaPisma";
    QTest::newRow("font-size box")
        << "beVelikostPisma"
        << "ZalozkaDomuPismo"
        << "font-size box"
        << "C" << 72 << withoutSmallText << "action acDomuPismoVelikostPisma";
    QTest::newRow("bold starts row two")
        << "bDomuTucne"
        << "ZalozkaDomuPismo"
        << "check button"
        << "" << 0 << withoutSmallText << "action acDomuPismoTucne";
    QTest::newRow("subscript, all levels") << "bDomuDolniIndex"
                                           << "ZalozkaDomuPismo"
                                           << "check button"
                                           << "CB" << 0 << all << "action acDomuPismoDolniIndex";
    QTest::newRow("highlight gallery")
        << "bDomuBarvaPismaPozadi"
        << "ZalozkaDomuPismo"
        << "colour gallery"
        << "CB" << 0 << withoutText << "action acDomuPismoBarvaPozadi";
    QTest::newRow("font dialog") << "bDomuPismoDialog"
                                 << "ZalozkaDomuPismo"
                                 << "large button"
                                 << "S" << 0 << all << "action acDomuPismoDialog";
    QTest::newRow("multilevel, bound to nothing") << "bDomuViceUrovni"
                                                  << "ZalozkaDomuOdstavec"
                                                  << "check button"
                                                  << "C" << 0 << withoutSmallText << "";
    QTest::newRow("line spacing sub-menu") << "bSouborRadkovani"
                                           << "ZalozkaDomuOdstavec"
                                           << "sub-menu"
                                           << "C" << 0 << withoutText << "";
    QTest::newRow("find next, large with text only")
        << "bDomuUpravyHledatDalsi"
        << "ZalozkaDomuUpravy"
        << "large button"
        << "" << 0 << int(ViewLevel::LargeIconWithText) << "action acDomuUpravyHledatDalsi";
    QTest::newRow("date handler") << "bVlozitDatum"
                                  << "ZalozkaVlozitText"
                                  << "large button"
                                  << "S" << 0 << all << "handler bVlozitDatumClick";
    QTest::newRow("spelling toggle") << "bZobrazeniPravopis"
                                     << "ZalozkaZobrazeniPravopis"
                                     << "large check button"
                                     << "" << 0 << all << "handler bZobrazeniPravopisClick";
    QTest::newRow("page colour") << "bRozlozeniStrankyBarvaStranky"
                                 << "ZalozkaRozlozeniStrankyBarva"
                                 << "colour gallery"
                                 << "" << 0 << all << "action acRozlozeniStrankyBarvaStranky";
    QTest::newRow("plain-text paste, in no group") << "bVlozit"
                                                   << ""
                                                   << "sub-menu"
                                                   << "" << 0 << all << "";
}

void TestRibbonDesign::items()
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, kind);
    QFETCH(QString, flags);
    QFETCH(int, width);
    QFETCH(int, viewLevels);
    QFETCH(QString, binding);

    LoadedDesign design;
    BarItem *item = design.manager.item(name);
    QVERIFY(item);
    QCOMPARE(itemKindWord(item->kind()), kind);
    QString bound;
    if (item->command())
        bound = QLatin1String("action ") + item->command()->objectName();
    else if (!item->handlerName().isEmpty())
        bound = QLatin1String("handler ") + item->handlerName();
    QCOMPARE(bound, binding);
    QCOMPARE(design.manager.isInGroup(item), !group.isEmpty());
    if (group.isEmpty())
        return;

    const Bar *bar = design.manager.bar(group);
    QVERIFY(bar);
    const auto link = std::find_if(bar->links().begin(), bar->links().end(),
                                   [item](const BarItemLink &l) { return l.item == item; });
    QVERIFY(link != bar->links().end());
    QString actual;
    if (link->continuesRow)
        actual += QLatin1Char('C');
    if (link->buttonGroupStart)
        actual += QLatin1Char('B');
    if (link->separatorBefore)
        actual += QLatin1Char('S');
    QCOMPARE(actual, flags);
    QCOMPARE(link->width.value_or(0), width);
    QCOMPARE(int(link->allowedViewLevels()), viewLevels);
}

void TestRibbonDesign::sharedCommandObjects()
{
    LoadedDesign design;
    QAction *hyperlink = design.item("bVlozitHyperLink")->command();
    QVERIFY(hyperlink);
    QCOMPARE(design.item("bVlozitSymbol")->command(), hyperlink);
    QCOMPARE(hyperlink->objectName(), QStringLiteral("acVlozeniSymbolyVlozit"));

    QAction *equations = design.item("bZalozkaReferenceTitulkySeznamRovnic")->command();
    QCOMPARE(design.item("bZalozkaReferenceTitulkySeznamTabulek")->command(), equations);
    QCOMPARE(
        design.manager.command(QStringLiteral("acZalozkaReferenceTitulkySeznamRovnic"))->className,
        QStringLiteral("InsertTableOfEquations"));

    // Two objects of one class stay two actions.
    QVERIFY(design.item("bVlozitKonecStranky")->command() !=
            design.item("bRozlozeniStrankyKonecStranky")->command());
}

void TestRibbonDesign::subMenusListTheirEntriesInOrder()
{
    LoadedDesign design;
    const auto entries = [&design](const char *name) {
        return names(qobject_cast<BarSubItem *>(design.item(name))->entries());
    };
    QCOMPARE(
        entries("bNavrhDolniOhraniceni"),
        QStringList(
            {"bNavrhTabulkyOhraniceniDolniOhraniceni", "bNavrhTabulkyOhraniceniHorniOhraniceni",
             "bNavrhTabulkyOhraniceniLeveOhraniceni", "bNavrhTabulkyOhraniceniPraveOhraniceni",
             "bNavrhTabulkyOhraniceniZadnaOhraniceni", "bNavrhTabulkyOhraniceniVsechnaOhraniceni",
             "bNavrhTabulkyOhraniceniVnejsiOhraniceni", "bNavrhTabulkyOhraniceniVnitrniOhraniceni",
             "bNavrhTabulkyOhraniceniVnitrniVodorovneOhraniceni",
             "bNavrhTabulkyOhraniceniVnitrniSvisleOhraniceni"}));
    QCOMPARE(entries("bRozlozeniTabulkyOdstranitTabulku"),
             QStringList({"bRozlozeniStrankyOdstranitBunky", "bRozlozeniTabulkyOdstranitSloupec",
                          "bRozlozeniTabulkyOdstranitRadek", "bRozlozeniTabulkySmazatTabulku"}));
    QCOMPARE(entries("bRozlozeniTabulkyPrispusobit"),
             QStringList({"bRozlozeniTabullkyVelikostTabulkyPrizpusobitObsahu",
                          "bRozlozeniTabulkyVelikostBunkyPrispusobitOknu",
                          "bRozlozeniTabulkyVelikostBunkyPevnaSirkaSloupce"}));
    QCOMPARE(entries("bVlozit"), QStringList({"bDomuSchrankaVLozitProstyText"}));
    QVERIFY(!design.manager.isInGroup(design.item("bDomuSchrankaVLozitProstyText")));
}

void TestRibbonDesign::cellAlignmentButtonsAreNineRows()
{
    LoadedDesign design;
    const Bar *bar = design.manager.bar(QStringLiteral("ZalozkaRozlozeniTabulkyZarovnani"));
    QCOMPARE(bar->links().size(), 9);
    QStringList classes;
    for (const BarItemLink &link : bar->links()) {
        QVERIFY(!link.continuesRow);
        QCOMPARE(link.item->kind(), ItemKind::CheckButton);
        classes << design.manager.command(link.item->command()->objectName())->className;
    }
    // Three columns of three, filled from the top, make this the grid column by column.
    QCOMPARE(classes,
             QStringList(
                 {"ToggleTableCellsTopLeftAlignment", "ToggleTableCellsMiddleLeftAlignment",
                  "ToggleTableCellsBottomLeftAlignment", "ToggleTableCellsTopCenterAlignment",
                  "ToggleTableCellsMiddleCenterAlignment", "ToggleTableCellsBottomCenterAlignment",
                  "ToggleTableCellsTopRightAlignment", "ToggleTableCellsMiddleRightAlignment",
                  "ToggleTableCellsBottomRightAlignment"}));
}

void TestRibbonDesign::boundItemsFollowTheirCommand()
{
    LoadedDesign design;
    BarItem *bold = design.item("bDomuTucne");
    QAction *command = bold->command();
    QCOMPARE(bold->action()->text(), QStringLiteral("Bold"));
    QCOMPARE(bold->action()->toolTip(), QStringLiteral("Bold\nMake the selected text bold."));
    QVERIFY(bold->action()->isEnabled());

    command->setText(QStringLiteral("Tučné"));
    command->setChecked(true);
    command->setEnabled(false);
    QCOMPARE(bold->action()->text(), QStringLiteral("Tučné"));
    QVERIFY(bold->action()->isChecked());
    QVERIFY(!bold->action()->isEnabled());
    command->setEnabled(true);
    command->setVisible(false);
    QVERIFY(!bold->action()->isVisible());
    command->setVisible(true);
    bold->click();
    QVERIFY(!command->isChecked());
    QVERIFY(!bold->action()->isChecked());

    // A class not built yet: a disabled action with a caption, and the item's own caption wins.
    BarItem *find = design.item("bDomuUpravyHledatDalsi");
    QVERIFY(!find->command()->isEnabled());
    QVERIFY(!find->action()->isEnabled());
    QCOMPARE(find->action()->text(), QStringLiteral("Find Next"));
    QCOMPARE(design.item("bDomuUpravyHledat")->action()->text(), QStringLiteral("Search Find"));

    // Bound to nothing: only its own pressed state toggles. The design's "down" starts pressed.
    BarItem *multilevel = design.item("bDomuViceUrovni");
    QCOMPARE(multilevel->action()->toolTip(),
             QStringLiteral("Více úrovní\nSpusťte víceúrovňový seznam."));
    multilevel->click();
    QVERIFY(multilevel->action()->isChecked());
    QVERIFY(design.item("bZobrazeniPravopis")->action()->isChecked());
}

void TestRibbonDesign::handlersRunAndFailuresAreReported()
{
    LoadedDesign design;
    design.item("bVlozitDatum")->click();
    design.item("bVlozitDatum")->click();
    QCOMPARE(design.handlerCalls.value(QStringLiteral("bVlozitDatumClick")), 2);

    ScriptedUiHost host;
    design.item("bVlozitCas")->setHandler(QStringLiteral("bVlozitCasClick"), [] {
        throw Exception(QStringLiteral("clock stopped"));
    });
    int activated = 0;
    connect(design.item("bVlozitCas"), &BarItem::activated, this, [&activated] { ++activated; });
    design.item("bVlozitCas")->click();
    QCOMPARE(host.messages().size(), 1);
    QCOMPARE(host.messages().first().text, QStringLiteral("clock stopped."));
    QCOMPARE(host.messages().first().icon, QMessageBox::Critical);
    QCOMPARE(activated, 1);
}

void TestRibbonDesign::unknownNamesStopTheLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("named");

    QTest::newRow("action") << "items/0/action"
                            << "acNowhere"
                            << "acNowhere";
    QTest::newRow("handler") << "items/0/handler"
                             << "UnknownClick"
                             << "UnknownClick";
    QTest::newRow("linked item") << "groups/0/links/0/item"
                                 << "bNowhere"
                                 << "bNowhere";
    QTest::newRow("group of a tab") << "tabs/0/groups/0"
                                    << "ZalozkaNowhere"
                                    << "ZalozkaNowhere";
    QTest::newRow("kind") << "items/0/kind"
                          << "big button"
                          << "big button";
    QTest::newRow("view level") << "groups/3/links/0/viewLevels/0"
                                << "ivlHuge"
                                << "ivlHuge";
}

void TestRibbonDesign::unknownNamesStopTheLoad()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    QFETCH(QString, named);

    // Replaces one value deep in the design.
    const std::function<QJsonValue(QJsonValue, QStringList)> replaced = [&](QJsonValue node,
                                                                            QStringList keys) {
        if (keys.isEmpty())
            return QJsonValue(value);
        const QString key = keys.takeFirst();
        if (node.isArray()) {
            QJsonArray array = node.toArray();
            array[key.toInt()] = replaced(array.at(key.toInt()), keys);
            return QJsonValue(array);
        }
        QJsonObject object = node.toObject();
        object[key] = replaced(object.value(key), keys);
        return QJsonValue(object);
    };
    const QJsonObject design =
        replaced(RibbonDesignLoader::read(QStringLiteral(MARLIX_DESIGN_FILE)),
                 path.split(QLatin1Char('/')))
            .toObject();
    try {
        LoadedDesign loaded(design);
        QFAIL("the load went through");
    } catch (const Exception &failure) {
        QVERIFY2(failure.message().contains(named), qPrintable(failure.message()));
    }
}

void TestRibbonDesign::dumpToolPrintsTheLoadedDesign()
{
    QProcess tool;
    tool.start(QStringLiteral(MARLIX_DESIGN_DUMP), {QStringLiteral(MARLIX_DESIGN_FILE)});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const QJsonObject dump = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    const QJsonObject design = RibbonDesignLoader::read(QStringLiteral(MARLIX_DESIGN_FILE));

    const QJsonArray designItems = design.value(QLatin1String("items")).toArray();
    const QJsonArray dumpItems = dump.value(QLatin1String("items")).toArray();
    QCOMPARE(dumpItems.size(), designItems.size());
    for (qsizetype i = 0; i < designItems.size(); ++i) {
        const QJsonObject expected = designItems.at(i).toObject();
        const QJsonObject actual = dumpItems.at(i).toObject();
        QCOMPARE(actual.keys().size(), 8);
        for (const QString &key : actual.keys())
            QVERIFY2(actual.value(key) == expected.value(key),
                     qPrintable(expected.value(QLatin1String("name")).toString() +
                                QLatin1Char(' ') + key));
    }
    const QJsonArray designGroups = design.value(QLatin1String("groups")).toArray();
    const QJsonArray dumpGroups = dump.value(QLatin1String("groups")).toArray();
    QCOMPARE(dumpGroups.size(), 36);
    for (qsizetype i = 0; i < designGroups.size(); ++i)
        QCOMPARE(dumpGroups.at(i).toObject().value(QLatin1String("links")),
                 designGroups.at(i).toObject().value(QLatin1String("links")));
    QCOMPARE(dump.value(QLatin1String("tabs")).toArray().size(), 11);
    QCOMPARE(dump.value(QLatin1String("actions")).toArray().size(), 171);

    QProcess broken;
    broken.start(QStringLiteral(MARLIX_DESIGN_DUMP), {QStringLiteral("/nonexistent/design.json")});
    QVERIFY(broken.waitForFinished(60000));
    QCOMPARE(broken.exitCode(), 1);
    QVERIFY(broken.readAllStandardError().contains("Cannot open file"));
}

QTEST_MAIN(TestRibbonDesign)
#include "tst_design.moc"
