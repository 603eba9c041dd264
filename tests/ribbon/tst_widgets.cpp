// The ribbon as the user meets it: laid-out groups, narrowing and widening, lists, boxes and
// galleries, customization, key tips, minimizing, and the status bar.

#include "ribbon/Bar.h"
#include "ribbon/BarEditItem.h"
#include "ribbon/BarItem.h"
#include "ribbon/BarManager.h"
#include "ribbon/BarSubItem.h"
#include "ribbon/KeyTipController.h"
#include "ribbon/KeyboardStatePanel.h"
#include "ribbon/Ribbon.h"
#include "ribbon/RibbonColorGalleryItem.h"
#include "ribbon/RibbonCustomizeDialog.h"
#include "ribbon/RibbonDesignLoader.h"
#include "ribbon/RibbonGroupWidget.h"
#include "ribbon/RibbonPage.h"
#include "ribbon/RibbonStatusBar.h"
#include "ribbon/RibbonTab.h"
#include "ribbon/SkinController.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// The main window's design in a window, every command class built as an enabled action that
// counts its runs, and every handler counting its calls.
struct Window
{
    QWidget window;
    BarManager manager;
    Ribbon *ribbon = new Ribbon(&manager, &window);
    RibbonStatusBar *statusBar = new RibbonStatusBar(&window);
    QHash<QString, int> runs;

    explicit Window(int width = 1920)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(ribbon);
        layout->addStretch(1);
        layout->addWidget(statusBar);
        const auto factory = [this](const QString &commandClass, const QString &name,
                                    QObject *parent) {
            auto *action = new QAction(RibbonDesignLoader::captionFromClass(commandClass), parent);
            action->setCheckable(commandClass.startsWith(QLatin1String("Toggle")));
            QObject::connect(action, &QAction::triggered, [this, name] { ++runs[name]; });
            return action;
        };
        const auto handlers = [this](const QString &name) -> RibbonDesignLoader::Handler {
            return [this, name] { ++runs[name]; };
        };
        RibbonDesignLoader(factory, handlers)
            .load(RibbonDesignLoader::read(QStringLiteral(MARLIX_DESIGN_FILE)), ribbon, statusBar);
        ribbon->tab(QStringLiteral("ZalozkaDomu"))->setActive(true);
        window.resize(width, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void setWidth(int width)
    {
        window.resize(width, 400);
        QCoreApplication::processEvents();
    }
    void activate(const char *tab) { ribbon->tab(QLatin1String(tab))->setActive(true); }
    BarItem *item(const char *name) const { return manager.item(QLatin1String(name)); }
    RibbonGroupWidget *group(const char *name) const
    {
        return ribbon->groupWidget(QLatin1String(name));
    }
    QRect geometryOf(const char *groupName, const char *itemName) const
    {
        RibbonGroupWidget *g = group(groupName);
        QWidget *w = g->widgetFor(QLatin1String(itemName));
        return w ? QRect(w->mapTo(g, QPoint(0, 0)), w->size()) : QRect();
    }
};

} // namespace

class TestRibbonWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fontAndParagraphGroupsShowTwoRows();
    void cellAlignmentGroupIsAThreeByThreeGrid();
    void narrowingReducesAndCollapsesGroupsAndWideningRestores();
    void everyPictureSlotHoldsAPicture();
    void subMenusOpenTheirLists();
    void fontBoxesAndColourGalleries();
    void customizationPlacesAnItemOfNoGroup();
    void keyTipsReachAnItem();
    void minimizedRibbonShowsPagesAsPopups();
    void hidingTheActiveTabPicksANeighbour();
    void statusBarPanels();
    void screenshots();
};

void TestRibbonWidgets::initTestCase()
{
    SkinController().apply(qApp);
}

void TestRibbonWidgets::fontAndParagraphGroupsShowTwoRows()
{
    Window w;
    QCOMPARE(w.group("ZalozkaDomuPismo")->stage(), 0);
    const QRect name = w.geometryOf("ZalozkaDomuPismo", "bePismo");
    const QRect size = w.geometryOf("ZalozkaDomuPismo", "beVelikostPisma");
    const QRect shrink = w.geometryOf("ZalozkaDomuPismo", "bDomuZmensitPismo");
    const QRect bold = w.geometryOf("ZalozkaDomuPismo", "bDomuTucne");
    const QRect colour = w.geometryOf("ZalozkaDomuPismo", "bDomuBarvaPisma");
    const QRect dialog = w.geometryOf("ZalozkaDomuPismo", "bDomuPismoDialog");
    // Row one: the boxes, grow and shrink side by side; row two below, from the same left edge.
    QCOMPARE(size.center().y(), name.center().y());
    QCOMPARE(shrink.center().y(), name.center().y());
    QVERIFY(size.left() >= name.right() && shrink.left() > size.right());
    QVERIFY(bold.top() >= name.bottom());
    QCOMPARE(colour.center().y(), bold.center().y());
    QVERIFY(qAbs(bold.left() - w.geometryOf("ZalozkaDomuPismo", "bePismo").left()) < 90);
    // The large dialog button stands in its own column to the right, over the full height.
    QVERIFY(dialog.left() > qMax(shrink.right(), colour.right()));
    QVERIFY(dialog.height() > 2 * bold.height());
    QCOMPARE(
        name.width() -
            (w.group("ZalozkaDomuPismo")->widgetFor("bePismo")->findChild<QComboBox *>()->width()),
        name.width() - 229);

    const QRect bullets = w.geometryOf("ZalozkaDomuOdstavec", "bDomuOdrazky");
    const QRect whitespace = w.geometryOf("ZalozkaDomuOdstavec", "bDomuNestisknuteZnaky");
    const QRect left = w.geometryOf("ZalozkaDomuOdstavec", "bDomuVlevo");
    const QRect textCase = w.geometryOf("ZalozkaDomuOdstavec", "bDomuPrevodVelikosti");
    QCOMPARE(whitespace.center().y(), bullets.center().y());
    QCOMPARE(textCase.center().y(), left.center().y());
    QVERIFY(left.top() >= bullets.bottom());
    QCOMPARE(left.left(), bullets.left());
    // Icons only: the design's view levels leave out small text.
    QCOMPARE(qobject_cast<QToolButton *>(w.group("ZalozkaDomuOdstavec")->widgetFor("bDomuVlevo"))
                 ->toolButtonStyle(),
             Qt::ToolButtonIconOnly);
    // A button group start joins the following buttons in a frame of their own.
    QVERIFY(w.group("ZalozkaDomuPismo")->widgetFor("bDomuDolniIndex")->parentWidget() !=
            w.group("ZalozkaDomuPismo")->widgetFor("bDomuPreskrtnute")->parentWidget());
    QCOMPARE(w.group("ZalozkaDomuPismo")->widgetFor("bDomuHorniIndex")->parentWidget(),
             w.group("ZalozkaDomuPismo")->widgetFor("bDomuDolniIndex")->parentWidget());
}

void TestRibbonWidgets::cellAlignmentGroupIsAThreeByThreeGrid()
{
    Window w;
    w.activate("ZalozkaRozlozeniTabulky");
    QCoreApplication::processEvents();
    const Bar *bar = w.manager.bar(QStringLiteral("ZalozkaRozlozeniTabulkyZarovnani"));
    QList<int> xs;
    QList<int> ys;
    for (const BarItemLink &link : bar->links()) {
        const QRect r =
            w.geometryOf("ZalozkaRozlozeniTabulkyZarovnani", qPrintable(link.item->name()));
        QVERIFY(r.isValid());
        xs << r.left();
        ys << r.top();
    }
    for (int i = 0; i < 9; ++i) {
        // Filled from the top, column by column.
        QCOMPARE(xs.at(i), xs.at(i / 3 * 3));
        QCOMPARE(ys.at(i), ys.at(i % 3));
    }
    QVERIFY(xs.at(0) < xs.at(3) && xs.at(3) < xs.at(6));
    QVERIFY(ys.at(0) < ys.at(1) && ys.at(1) < ys.at(2));
}

void TestRibbonWidgets::narrowingReducesAndCollapsesGroupsAndWideningRestores()
{
    Window w;
    RibbonPage *home = w.ribbon->page(w.ribbon->tab(QStringLiteral("ZalozkaDomu")));
    const auto stages = [home] {
        QList<int> result;
        for (RibbonGroupWidget *group : home->groups())
            result << (group->isCollapsed() ? -1 : group->stage());
        return result;
    };
    const auto contentRight = [home] {
        int right = 0;
        for (RibbonGroupWidget *group : home->groups())
            right = qMax(right, group->geometry().right());
        return right;
    };
    QCOMPARE(stages(), QList<int>({0, 0, 0, 0, 0}));

    w.setWidth(800);
    QList<int> narrow = stages();
    QVERIFY(narrow != QList<int>({0, 0, 0, 0, 0}));
    QVERIFY(contentRight() < home->width());

    w.setWidth(330);
    QVERIFY(stages().contains(-1));
    QVERIFY(contentRight() < home->width());
    RibbonGroupWidget *collapsed = nullptr;
    for (RibbonGroupWidget *group : home->groups()) {
        if (group->isCollapsed())
            collapsed = group;
    }
    QVERIFY(collapsed->collapsedButton());
    QCOMPARE(collapsed->widgetFor(collapsed->bar()->links().first().item->name()), nullptr);
    collapsed->collapsedButton()->click();
    QVERIFY(collapsed->popup() && collapsed->popup()->isVisible());
    // The pop-up shows the whole group, and running an item closes it.
    auto *whole = collapsed->popup()->findChild<RibbonGroupWidget *>();
    QCOMPARE(whole->stage(), 0);
    auto *first = qobject_cast<QToolButton *>(whole->itemWidgets().last().second);
    QVERIFY(first);
    first->click();
    QTRY_VERIFY(!collapsed->popup() || !collapsed->popup()->isVisible());

    w.setWidth(1920);
    QCOMPARE(stages(), QList<int>({0, 0, 0, 0, 0}));
}

void TestRibbonWidgets::everyPictureSlotHoldsAPicture()
{
    Window w;
    for (RibbonTab *tab : w.ribbon->tabs()) {
        for (RibbonGroupWidget *group : w.ribbon->page(tab)->groups()) {
            for (const auto &[item, widget] : group->itemWidgets()) {
                if (auto *button = qobject_cast<QToolButton *>(widget))
                    QVERIFY2(!button->icon().pixmap(16, 16).isNull(), qPrintable(item->name()));
            }
        }
    }
    // A hot-only picture shows faded at rest and in full under the pointer.
    const QIcon find = w.item("bDomuUpravyHledat")->action()->icon();
    QVERIFY(find.pixmap(32, QIcon::Normal).toImage() != find.pixmap(32, QIcon::Active).toImage());
}

void TestRibbonWidgets::subMenusOpenTheirLists()
{
    Window w;
    w.activate("ZalozkaRozlozeniStranky");
    QCoreApplication::processEvents();
    auto *breaks =
        qobject_cast<QToolButton *>(w.group("ZalozkaRozlozeniStrankyVzhledStranky")
                                        ->widgetFor("bRozlozeniStrankyVzhledStrankyKonce"));
    QMenu *list = breaks->menu();
    QVERIFY(list);
    emit list->aboutToShow();
    QStringList entries;
    for (QAction *action : list->actions())
        entries << action->objectName();
    QCOMPARE(entries, QStringList({"bRozlozeniStrankyKonecStranky",
                                   "bRozlozeniStrankyVzhledStrankyKonecOdstavec",
                                   "bRozlozeniStrankyVzhledStrankyKonecDalsiStranka",
                                   "bRozlozeniStrankyVzhledStrankyKonecSudaStranka",
                                   "bRozlozeniStrankyVzhledStrankyKonecLichaStranka"}));
    // Large entries show large pictures.
    QCOMPARE(list->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list), 32);
    list->actions().at(1)->trigger();
    QCOMPARE(w.runs.value(QStringLiteral("acRozlozeniStrankyVzhledStrankyKonecOdstavec")), 1);

    w.activate("ZalozkaDomu");
    QCoreApplication::processEvents();
    QMenu *spacing =
        qobject_cast<QToolButton *>(w.group("ZalozkaDomuOdstavec")->widgetFor("bSouborRadkovani"))
            ->menu();
    emit spacing->aboutToShow();
    QCOMPARE(spacing->actions().size(), 4);
    QVERIFY(spacing->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, spacing) < 32);
    QVERIFY(spacing->actions().at(0)->icon().isNull());
}

void TestRibbonWidgets::fontBoxesAndColourGalleries()
{
    Window w;
    RibbonGroupWidget *font = w.group("ZalozkaDomuPismo");
    QWidget *nameItem = font->widgetFor("bePismo");
    QCOMPARE(nameItem->findChild<QLabel *>()->text(), QStringLiteral("Change Font Name"));
    auto *names = nameItem->findChild<QFontComboBox *>();
    QVERIFY(names && names->isEditable() && names->count() > 0);

    auto *sizes = font->widgetFor("beVelikostPisma")->findChild<QComboBox *>();
    QCOMPARE(sizes->count(), 16);
    QCOMPARE(sizes->itemText(13), QStringLiteral("36"));
    QAction *sizeCommand = w.item("beVelikostPisma")->command();
    sizes->setFocus();
    sizes->lineEdit()->clear();
    QTest::keyClicks(sizes->lineEdit(), QStringLiteral("13"));
    emit sizes->lineEdit()->editingFinished();
    QCOMPARE(sizeCommand->data().toDouble(), 13.0);
    QCOMPARE(w.runs.value(QStringLiteral("acDomuPismoVelikostPisma")), 1);
    sizes->activated(2);
    QCOMPARE(sizeCommand->data().toDouble(), 10.0);

    auto *gallery = qobject_cast<RibbonColorGalleryItem *>(w.item("bDomuBarvaPisma"));
    auto *button = qobject_cast<QToolButton *>(font->widgetFor("bDomuBarvaPisma"));
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    gallery->choose(QColor(Qt::blue));
    QCOMPARE(gallery->command()->data().value<QColor>(), QColor(Qt::blue));
    gallery->command()->setData(QVariant());
    button->click();
    QCOMPARE(gallery->command()->data().value<QColor>(), QColor(Qt::blue));
    QCOMPARE(w.runs.value(QStringLiteral("acDomuPismoBarvaPisma")), 2);
    // The palette's first entry is automatic, or no colour for highlighting.
    QCOMPARE(button->menu()->findChild<QPushButton *>(QStringLiteral("automatic"))->text(),
             QStringLiteral("Automatic"));
    auto *highlight = qobject_cast<QToolButton *>(font->widgetFor("bDomuBarvaPismaPozadi"));
    QPushButton *none = highlight->menu()->findChild<QPushButton *>(QStringLiteral("automatic"));
    QCOMPARE(none->text(), QStringLiteral("No Color"));
    none->click();
    QVERIFY(!w.item("bDomuBarvaPismaPozadi")->command()->data().value<QColor>().isValid());
}

void TestRibbonWidgets::customizationPlacesAnItemOfNoGroup()
{
    Window w;
    RibbonCustomizeDialog dialog(w.ribbon);
    QListWidget *items = dialog.itemList();
    const QList<QListWidgetItem *> found =
        items->findItems(QStringLiteral("Vložit"), Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    items->setCurrentItem(found.first());
    QTreeWidget *tree = dialog.layoutTree();
    QTreeWidgetItem *home = tree->topLevelItem(1);
    QCOMPARE(home->text(0), QStringLiteral("Domů"));
    QTreeWidgetItem *clipboard = home->child(0);
    QCOMPARE(clipboard->text(0), QStringLiteral("Schránka"));
    tree->setCurrentItem(clipboard);
    dialog.findChild<QPushButton *>(QStringLiteral("add"))->click();
    QCOMPARE(clipboard->childCount(), 4);
    // Rename and reorder a tab on the way.
    tree->topLevelItem(10)->setText(0, QStringLiteral("Help"));
    tree->setCurrentItem(tree->topLevelItem(10));
    dialog.findChild<QPushButton *>(QStringLiteral("up"))->click();
    dialog.apply();

    QCOMPARE(w.ribbon->tabs().at(9)->name(), QStringLiteral("ZalozkaNapoveda"));
    QCOMPARE(w.ribbon->tabs().at(9)->caption(), QStringLiteral("Help"));
    QVERIFY(w.manager.isInGroup(w.item("bVlozit")));
    w.activate("ZalozkaDomu");
    QCoreApplication::processEvents();
    auto *paste = qobject_cast<QToolButton *>(w.group("ZalozkaDomuSchranka")->widgetFor("bVlozit"));
    QVERIFY(paste && paste->isVisible());
    emit paste->menu()->aboutToShow();
    QCOMPARE(paste->menu()->actions().size(), 1);
    paste->menu()->actions().first()->trigger();
    QCOMPARE(w.runs.value(QStringLiteral("bDomuSchrankaVLozitProstyTextClick")), 1);
    // The links the group had keep their settings.
    QCOMPARE(w.manager.bar(QStringLiteral("ZalozkaDomuPismo"))->links().at(0).width, 229);
}

void TestRibbonWidgets::keyTipsReachAnItem()
{
    Window w;
    KeyTipController *tips = w.ribbon->keyTips();
    QTest::keyClick(&w.window, Qt::Key_Alt);
    QCOMPARE(tips->level(), KeyTipController::Level::Tabs);
    const QStringList tabTips = tips->tips();
    QCOMPARE(tabTips.size(), 11);
    QCOMPARE(QSet<QString>(tabTips.begin(), tabTips.end()).size(), 11);
    QTest::keyClicks(&w.window, tabTips.at(2));
    QCOMPARE(w.ribbon->activeTab()->name(), QStringLiteral("ZalozkaVlozit"));
    QCOMPARE(tips->level(), KeyTipController::Level::Items);
    const QString date = tips->tipFor(w.group("ZalozkaVlozitText")->widgetFor("bVlozitDatum"));
    QVERIFY(!date.isEmpty());
    QTest::keyClicks(&w.window, date);
    QCOMPARE(w.runs.value(QStringLiteral("bVlozitDatumClick")), 1);
    QCOMPARE(tips->level(), KeyTipController::Level::Off);

    // Esc steps back to the tabs, and again ends.
    QTest::keyClick(&w.window, Qt::Key_Alt);
    QTest::keyClicks(&w.window, tabTips.at(1));
    QTest::keyClick(&w.window, Qt::Key_Escape);
    QCOMPARE(tips->level(), KeyTipController::Level::Tabs);
    QTest::keyClick(&w.window, Qt::Key_Escape);
    QCOMPARE(tips->level(), KeyTipController::Level::Off);

    const QStringList assigned =
        KeyTipController::assign({"Domů", "Dokument", "Datum", "", "Dokument"});
    for (qsizetype i = 0; i < assigned.size(); ++i) {
        for (qsizetype j = 0; j < assigned.size(); ++j)
            QVERIFY(i == j || !assigned.at(j).startsWith(assigned.at(i)));
    }
    QCOMPARE(assigned.first(), QStringLiteral("D"));
}

void TestRibbonWidgets::minimizedRibbonShowsPagesAsPopups()
{
    Window w;
    QMenu *menu = w.ribbon->createContextMenu(&w.window);
    QStringList entries;
    for (QAction *action : menu->actions())
        entries << action->objectName();
    QCOMPARE(entries, QStringList({"minimize", "customize"}));
    const int fullHeight = w.ribbon->height();
    menu->actions().first()->trigger();
    QVERIFY(w.ribbon->isMinimized());
    QCoreApplication::processEvents();
    QTRY_VERIFY(w.ribbon->height() < fullHeight);

    QTabBar *bar = w.ribbon->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(w.ribbon->activeTab()->name(), QStringLiteral("ZalozkaVlozit"));
    QVERIFY(w.ribbon->pagePopup() && w.ribbon->pagePopup()->isVisible());
    QVERIFY(
        w.ribbon->pagePopup()->findChild<RibbonGroupWidget *>(QStringLiteral("ZalozkaVlozitText")));
    w.item("bVlozitCas")->action()->trigger();
    QTRY_VERIFY(!w.ribbon->pagePopup() || !w.ribbon->pagePopup()->isVisible());
    QCOMPARE(w.runs.value(QStringLiteral("bVlozitCasClick")), 1);

    w.ribbon->setMinimized(false);
    QCoreApplication::processEvents();
    QTRY_COMPARE(w.ribbon->height(), fullHeight);
    QVERIFY(w.group("ZalozkaVlozitText")->isVisible());
    delete menu;
}

void TestRibbonWidgets::hidingTheActiveTabPicksANeighbour()
{
    Window w;
    RibbonTab *home = w.ribbon->tab(QStringLiteral("ZalozkaDomu"));
    home->setVisible(false);
    QCOMPARE(w.ribbon->activeTab()->name(), QStringLiteral("ZalozkaVlozit"));
    QVERIFY(!w.ribbon->tabBar()->isTabVisible(1));
    RibbonTab *help = w.ribbon->tab(QStringLiteral("ZalozkaNapoveda"));
    help->setActive(true);
    w.ribbon->tab(QStringLiteral("ZalozkaRozlozeniTabulky"))->setVisible(false);
    help->setVisible(false);
    QCOMPARE(w.ribbon->activeTab()->name(), QStringLiteral("ZalozkaNavrhTabulky"));
    // Making a hidden tab active shows it.
    home->setActive(true);
    QVERIFY(home->isVisible() && w.ribbon->tabBar()->isTabVisible(1));
    QCOMPARE(w.ribbon->tabBar()->currentIndex(), 1);
}

void TestRibbonWidgets::statusBarPanels()
{
    Window w;
    RibbonStatusBar *bar = w.statusBar;
    QCOMPARE(bar->panelCount(), 6);
    QCOMPARE(bar->height(), 33);
    auto *text = qobject_cast<QLabel *>(bar->panel(0));
    QVERIFY(text && text->text().isEmpty());
    QCOMPARE(text->width(), 100);
    QCOMPARE(text->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(bar->panel(2)->width(), 50);
    QCOMPARE(bar->panel(2)->layoutDirection(), Qt::RightToLeft);
    QCOMPARE(bar->panel(3)->width(), RibbonStatusBar::defaultPanelWidth);
    // The stretching panel takes what the others leave.
    QVERIFY(bar->panel(1)->width() > 1000);
    w.setWidth(600);
    QCOMPARE(bar->panel(0)->width(), 100);
    QVERIFY(bar->panel(1)->width() >= 50);

    KeyboardStatePanel *keys = bar->keyboardStatePanel();
    QCOMPARE(keys, bar->panel(5));
    QCOMPARE(keys->caption(QStringLiteral("CapsLock")), QStringLiteral("CAPS"));
    QCOMPARE(keys->caption(QStringLiteral("NumLock")), QStringLiteral("NUM"));
    QCOMPARE(keys->caption(QStringLiteral("ScrollLock")), QStringLiteral("SCRL"));
    QCOMPARE(keys->caption(QStringLiteral("Insert")), QStringLiteral("INS"));
    keys->setOverwriteMode(true);
    QCOMPARE(keys->caption(QStringLiteral("Insert")), QStringLiteral("OVR"));
    keys->setOverwriteMode(false);
    QCOMPARE(keys->caption(QStringLiteral("Insert")), QStringLiteral("INS"));

    // Off an X server the lock keys are tracked from the key presses: one press, one change.
    const bool capsBefore = keys->isActive(QStringLiteral("CapsLock"));
    QTest::keyClick(&w.window, Qt::Key_CapsLock);
    QCOMPARE(keys->isActive(QStringLiteral("CapsLock")), !capsBefore);
    QCOMPARE(keys->findChild<QLabel *>(QStringLiteral("CapsLock"))->isEnabled(), !capsBefore);
    QTest::keyClick(&w.window, Qt::Key_CapsLock);
    QCOMPARE(keys->isActive(QStringLiteral("CapsLock")), capsBefore);
}

void TestRibbonWidgets::screenshots()
{
    const QString folder = qEnvironmentVariable("MARLIX_RIBBON_SHOTS");
    if (folder.isEmpty())
        QSKIP("MARLIX_RIBBON_SHOTS names no folder for the pictures");
    QDir().mkpath(folder);
    for (const int width : {1920, 800}) {
        Window w(width);
        for (const char *tab : {"ZalozkaDomu", "ZalozkaVlozit", "ZalozkaRozlozeniStranky",
                                "ZalozkaRozlozeniTabulky"}) {
            w.activate(tab);
            QCoreApplication::processEvents();
            const QImage shot = w.window.grab(QRect(0, 0, width, w.ribbon->height())).toImage();
            QVERIFY(shot.save(
                QStringLiteral("%1/%2-%3.png").arg(folder, QLatin1String(tab)).arg(width)));
        }
        w.activate("ZalozkaDomu");
        w.setWidth(1920);
        w.window.grab().save(QStringLiteral("%1/window-statusbar.png").arg(folder));
    }
    Window w(420);
    w.activate("ZalozkaDomu");
    QCoreApplication::processEvents();
    w.window.grab(QRect(0, 0, 420, w.ribbon->height()))
        .save(folder + QLatin1String("/ZalozkaDomu-420.png"));
    for (RibbonGroupWidget *group : w.ribbon->page(w.ribbon->activeTab())->groups()) {
        if (group->isCollapsed()) {
            group->showPopup();
            group->popup()->grab().save(folder + QLatin1String("/collapsed-") +
                                        group->objectName() + QLatin1String(".png"));
            break;
        }
    }
}

QTEST_MAIN(TestRibbonWidgets)
#include "tst_widgets.moc"
