// Integrity of the window designs in resources/: the main window's ribbon
// (tabs, groups, links, items, command objects) and the date and time dialog.
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QJsonObject loadDesign(const QString &fileName, QString *error)
{
    QFile file(QStringLiteral(MARLIX_RESOURCES_DIR "/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fileName + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("%1: %2 at offset %3")
                     .arg(fileName, parseError.errorString())
                     .arg(parseError.offset);
        return {};
    }
    return doc.object();
}

QHash<QString, QJsonObject> indexByName(const QJsonArray &array)
{
    QHash<QString, QJsonObject> index;
    for (const QJsonValue &v : array)
        index.insert(v.toObject().value(u"name").toString(), v.toObject());
    return index;
}

QStringList names(const QJsonArray &array)
{
    QStringList out;
    for (const QJsonValue &v : array)
        out << (v.isString() ? v.toString() : v.toObject().value(u"name").toString());
    return out;
}

const QStringList allViewLevels{u"ivlLargeIconWithText"_s, u"ivlLargeControlOnly"_s,
                                u"ivlSmallIconWithText"_s, u"ivlSmallIcon"_s,
                                u"ivlControlOnly"_s};

// The view-level sets under the words the ribbon design uses for them.
QJsonValue viewLevelsFor(const QString &words)
{
    if (words == u"all")
        return QJsonValue::Null;
    if (words == u"without small text")
        return QJsonArray{u"ivlLargeIconWithText"_s, u"ivlLargeControlOnly"_s,
                          u"ivlSmallIcon"_s, u"ivlControlOnly"_s};
    if (words == u"without text")
        return QJsonArray{u"ivlLargeControlOnly"_s, u"ivlSmallIcon"_s, u"ivlControlOnly"_s};
    if (words == u"large with text only")
        return QJsonArray{u"ivlLargeIconWithText"_s};
    return u"?"_s;
}

QString levelsText(const QJsonValue &levels)
{
    if (levels.isNull())
        return u"null"_s;
    QStringList out;
    for (const QJsonValue &v : levels.toArray())
        out << v.toString();
    return out.join(u',');
}

} // namespace

class TestDesignData : public QObject
{
    Q_OBJECT

    QJsonObject m_main;
    QJsonObject m_dialog;
    QHash<QString, QJsonObject> m_tabs, m_groups, m_items, m_actions;
    QHash<QString, QString> m_owner;        // item -> group or sub-menu that links it
    QHash<QString, QJsonObject> m_link;     // item -> its group link

private slots:
    void initTestCase()
    {
        QString error;
        m_main = loadDesign(u"Unit1.design.json"_s, &error);
        QVERIFY2(!m_main.isEmpty(), qPrintable(error));
        m_dialog = loadDesign(u"fDatumACas.design.json"_s, &error);
        QVERIFY2(!m_dialog.isEmpty(), qPrintable(error));

        m_tabs = indexByName(m_main.value(u"tabs").toArray());
        m_groups = indexByName(m_main.value(u"groups").toArray());
        m_items = indexByName(m_main.value(u"items").toArray());
        m_actions = indexByName(m_main.value(u"actions").toArray());
        for (const QJsonObject &group : std::as_const(m_groups)) {
            for (const QJsonValue &l : group.value(u"links").toArray()) {
                const QString item = l.toObject().value(u"item").toString();
                QVERIFY2(!m_owner.contains(item), qPrintable(item + u" is linked twice"_s));
                m_owner.insert(item, group.value(u"name").toString());
                m_link.insert(item, l.toObject());
            }
        }
        for (const QJsonObject &item : std::as_const(m_items)) {
            for (const QJsonValue &e : item.value(u"entries").toArray()) {
                QVERIFY2(!m_owner.contains(e.toString()),
                         qPrintable(e.toString() + u" is linked twice"_s));
                m_owner.insert(e.toString(), item.value(u"name").toString());
            }
        }
    }

    void tabsAndGroups()
    {
        const QJsonArray tabs = m_main.value(u"tabs").toArray();
        QCOMPARE(tabs.size(), 11);
        QCOMPARE(m_main.value(u"groups").toArray().size(), 36);
        QCOMPARE(names(tabs),
                 (QStringList{u"ZalozkaSoubor"_s, u"ZalozkaDomu"_s, u"ZalozkaVlozit"_s,
                              u"ZalozkaRozlozeniStranky"_s, u"ZalozkaReference"_s,
                              u"ZalozkaRevize"_s, u"ZalozkaZobrazeni"_s,
                              u"ZalozkaZahlaviZapati"_s, u"ZalozkaNavrhTabulky"_s,
                              u"ZalozkaRozlozeniTabulky"_s, u"ZalozkaNapoveda"_s}));

        // Every group sits on exactly one tab, and the groups list follows the tabs.
        QStringList groupsByTab;
        QStringList contextual;
        for (int i = 0; i < tabs.size(); ++i) {
            const QJsonObject tab = tabs.at(i).toObject();
            QCOMPARE(tab.value(u"index").toInt(), i);
            if (tab.value(u"contextual").toBool())
                contextual << tab.value(u"name").toString();
            for (const QString &g : names(tab.value(u"groups").toArray())) {
                QVERIFY2(m_groups.contains(g), qPrintable(u"tab names unknown group "_s + g));
                groupsByTab << g;
            }
        }
        QCOMPARE(groupsByTab, names(m_main.value(u"groups").toArray()));
        QCOMPARE(contextual, (QStringList{u"ZalozkaZahlaviZapati"_s, u"ZalozkaNavrhTabulky"_s,
                                          u"ZalozkaRozlozeniTabulky"_s}));

        QCOMPARE(m_tabs[u"ZalozkaVlozit"_s].value(u"caption").toString(), u"Vložení"_s);
        QCOMPARE(m_tabs[u"ZalozkaSoubor"_s].value(u"key").toString(), u"ZalozkaSouborSoubor"_s);
        QCOMPARE(m_groups[u"ZalozkaRozlozeniTabulkyTabulka"_s].value(u"caption").toString(),
                 u"Možnost tabulky"_s);
        QVERIFY(m_groups[u"ZalozkaRozlozeniStrankyBarva"_s].value(u"key").isNull());
    }

    void referencesResolve()
    {
        static const QSet<QString> kinds{u"large button"_s, u"large check button"_s,
                                         u"button"_s, u"check button"_s, u"sub-menu"_s,
                                         u"font-name box"_s, u"font-size box"_s,
                                         u"colour gallery"_s};
        QStringList notInGroup;
        for (const QJsonObject &group : std::as_const(m_groups)) {
            QVERIFY2(!group.value(u"links").toArray().isEmpty(),
                     qPrintable(group.value(u"name").toString()));
            for (const QJsonValue &l : group.value(u"links").toArray()) {
                const QJsonObject link = l.toObject();
                const QString item = link.value(u"item").toString();
                QVERIFY2(m_items.contains(item), qPrintable(u"link to unknown item "_s + item));
                const QJsonValue width = link.value(u"width");
                QVERIFY2(width.isNull() || width.toInt() > 0, qPrintable(item));
                for (const QJsonValue &level : link.value(u"viewLevels").toArray())
                    QVERIFY2(allViewLevels.contains(level.toString()), qPrintable(item));
            }
        }
        for (const QJsonObject &item : std::as_const(m_items)) {
            const QString name = item.value(u"name").toString();
            const QString kind = item.value(u"kind").toString();
            QVERIFY2(kinds.contains(kind), qPrintable(name + u": kind "_s + kind));
            const QJsonValue action = item.value(u"action");
            const QJsonValue handler = item.value(u"handler");
            QVERIFY2(action.isNull() || m_actions.contains(action.toString()),
                     qPrintable(name + u": unknown action "_s + action.toString()));
            QVERIFY2(action.isNull() || handler.isNull(), qPrintable(name + u": action and handler"_s));
            QCOMPARE(item.value(u"entries").isArray(), kind == u"sub-menu");
            if (kind == u"sub-menu") {
                QVERIFY2(action.isNull() && handler.isNull(), qPrintable(name));
                QVERIFY2(!item.value(u"entries").toArray().isEmpty(), qPrintable(name));
            }
            for (const QJsonValue &e : item.value(u"entries").toArray())
                QVERIFY2(m_items.contains(e.toString()),
                         qPrintable(name + u": unknown entry "_s + e.toString()));

            // inGroup: the item is reachable from a group, directly or through its sub-menu.
            QString top = name;
            while (m_owner.contains(top) && !m_groups.contains(m_owner.value(top)))
                top = m_owner.value(top);
            QCOMPARE(item.value(u"inGroup").toBool(), m_owner.contains(top));
            if (!item.value(u"inGroup").toBool())
                notInGroup << name;
        }
        notInGroup.sort();
        QCOMPARE(notInGroup, (QStringList{u"bDomuSchrankaVLozitProstyText"_s, u"bVlozit"_s}));
        for (const QJsonObject &action : std::as_const(m_actions))
            QVERIFY2(!action.value(u"class").toString().isEmpty(),
                     qPrintable(action.value(u"name").toString()));
        QCOMPARE(m_items.size(), m_main.value(u"items").toArray().size());
        QCOMPARE(m_actions.size(), m_main.value(u"actions").toArray().size());
    }

    void namesAreUnique()
    {
        QStringList all{m_main.value(u"form").toObject().value(u"name").toString(),
                        m_main.value(u"statusBar").toObject().value(u"name").toString()};
        for (const char *section : {"tabs", "groups", "items", "actions", "components"})
            all << names(m_main.value(QLatin1String(section)).toArray());
        QSet<QString> seen;
        for (const QString &n : std::as_const(all)) {
            QVERIFY2(!n.isEmpty(), "a component without a name");
            QVERIFY2(!seen.contains(n), qPrintable(u"duplicate name "_s + n));
            seen.insert(n);
        }
    }

    void pictureSlots()
    {
        for (const QJsonObject &item : std::as_const(m_items)) {
            const QString name = item.value(u"name").toString();
            const QJsonObject pictures = item.value(u"pictures").toObject();
            QCOMPARE(pictures.keys(), (QStringList{u"hot"_s, u"large"_s, u"small"_s}));
            for (const QString &slot : pictures.keys()) {
                const QJsonValue p = pictures.value(slot);
                if (p.isNull())
                    continue;
                QVERIFY2(!p[u"icon"].toString().isEmpty(), qPrintable(name + u" "_s + slot));
                const int size = p[u"size"].toInt();
                QVERIFY2(size == 32 || (size == 16 && slot == u"small"),
                         qPrintable(name + u" "_s + slot));
            }
        }
        auto slotsOf = [this](const QString &name) {
            QStringList used;
            const QJsonObject p = m_items[name].value(u"pictures").toObject();
            for (const QString &slot : p.keys())
                if (!p.value(slot).isNull())
                    used << slot + u':' + QString::number(p.value(slot)[u"size"].toInt());
            return used;
        };
        QCOMPARE(slotsOf(u"bePismo"_s), QStringList());
        QCOMPARE(slotsOf(u"bVlozitd"_s), QStringList{u"large:32"_s});
        QCOMPARE(slotsOf(u"bDomuUpravyNahradit"_s), QStringList{u"hot:32"_s});
        QCOMPARE(slotsOf(u"bVlozit"_s), QStringList{u"small:32"_s});
        QCOMPARE(slotsOf(u"bRozlozeniStrankyNavysku"_s), QStringList{u"small:16"_s});
        QCOMPARE(slotsOf(u"bRadkovani1"_s), QStringList());
    }

    void ribbonItems_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");   // "" = the command's caption
        QTest::addColumn<QString>("runs");      // "action:NAME:CLASS", "handler:NAME" or "nothing"
        QTest::addColumn<QString>("owner");     // group or sub-menu that links the item; "" = none
        QTest::addColumn<QString>("link");      // settings of the group link: r=row, b=button group, s=separator
        QTest::addColumn<int>("width");         // -1 = none
        QTest::addColumn<QString>("viewLevels");

        QTest::newRow("BSouborNovy") << "large button" << u"Nový"_s << "handler:BSouborNovyClick"
                                     << "ZalozkaSouborSoubor" << "" << -1 << "all";
        QTest::newRow("bePismo") << "font-name box" << "" << "action:acDomuPismoZmenaPisma:ChangeFontName"
                                 << "ZalozkaDomuPismo" << "" << 229 << "without small text";
        QTest::newRow("beVelikostPisma") << "font-size box" << ""
                                         << "action:acDomuPismoVelikostPisma:ChangeFontSize"
                                         << "ZalozkaDomuPismo" << "r" << 72 << "without small text";
        QTest::newRow("bDomuDolniIndex") << "check button" << ""
                                         << "action:acDomuPismoDolniIndex:ToggleFontSubscript"
                                         << "ZalozkaDomuPismo" << "rb" << -1 << "all";
        QTest::newRow("bDomuBarvaPismaPozadi") << "colour gallery" << ""
                                               << "action:acDomuPismoBarvaPozadi:TextHighlight"
                                               << "ZalozkaDomuPismo" << "rb" << -1 << "without text";
        QTest::newRow("bDomuPismoDialog") << "large button" << "" << "action:acDomuPismoDialog:ShowFontForm"
                                          << "ZalozkaDomuPismo" << "s" << -1 << "all";
        QTest::newRow("bDomuViceUrovni") << "check button" << u"Více úrovní"_s << "nothing"
                                         << "ZalozkaDomuOdstavec" << "r" << -1 << "without small text";
        QTest::newRow("bRadkovani2") << "check button" << ""
                                     << u"action:acSouborOdstavecRadkování2:SetDoubleParagraphSpacing"_s
                                     << "bSouborRadkovani" << "" << -1 << "all";
        QTest::newRow("bDomuUpravyHledatDalsi") << "large button" << "Find Next"
                                                << "action:acDomuUpravyHledatDalsi:SearchFindNext"
                                                << "ZalozkaDomuUpravy" << "" << -1 << "large with text only";
        QTest::newRow("bVlozitHyperLink") << "large button" << ""
                                          << "action:acVlozeniSymbolyVlozit:ShowHyperlinkForm"
                                          << "ZalozkaVlozitOdkazy" << "" << -1 << "all";
        QTest::newRow("bVlozitSymbol") << "large button" << ""
                                       << "action:acVlozeniSymbolyVlozit:ShowHyperlinkForm"
                                       << "ZalozkaVlozitSymboly" << "" << -1 << "all";
        QTest::newRow("bDomuSchrankaVLozitProstyText") << "large button" << u"Prostý text"_s
                                                       << "handler:bDomuSchrankaVLozitProstyTextClick"
                                                       << "bVlozit" << "" << -1 << "all";
        QTest::newRow("bVlozit") << "sub-menu" << u"Vložit"_s << "nothing" << "" << "" << -1 << "all";
        QTest::newRow(u"bRozlozeníStrankyPrenestBliz"_s.toUtf8().constData())
            << "sub-menu" << u"Přenést blíž"_s << "nothing" << "ZalozkaUsporadat" << "" << -1 << "all";
        QTest::newRow("bRozlozeniStrankyVolbaPozice") << "sub-menu" << "Pozice" << "nothing"
                                                      << "ZalozkaUsporadat" << "s" << -1 << "all";
        QTest::newRow("bZalozkaReferenceTitulkySeznamTabulek")
            << "large button" << ""
            << "action:acZalozkaReferenceTitulkySeznamRovnic:InsertTableOfEquations"
            << "bReferenceTitulkyVlozitSeznam" << "" << -1 << "all";
        QTest::newRow("bRozlozeniTabulkyZarovnaniNahoreUprostred")
            << "check button" << ""
            << "action:acRozlozeniTabulkyZarovnaniNahoreUprostred:ToggleTableCellsMiddleLeftAlignment"
            << "ZalozkaRozlozeniTabulkyZarovnani" << "" << -1 << "without small text";
        QTest::newRow("bRozlozeniTabulkyDialog") << "large button" << u"Buňky"_s << "nothing"
                                                 << "ZalozkaRozlozeniTabulkyRadkyASloupce" << "s" << -1
                                                 << "all";
        QTest::newRow("bZobrazeniPravopis") << "large check button" << u"Živá kontrola pravopisu"_s
                                            << "handler:bZobrazeniPravopisClick"
                                            << "ZalozkaZobrazeniPravopis" << "" << -1 << "all";
    }

    void ribbonItems()
    {
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QString, runs);
        QFETCH(QString, owner);
        QFETCH(QString, link);
        QFETCH(int, width);
        QFETCH(QString, viewLevels);

        QVERIFY2(m_items.contains(name), qPrintable(name));
        const QJsonObject item = m_items.value(name);
        QCOMPARE(item.value(u"kind").toString(), kind);
        if (caption.isEmpty())
            QVERIFY(item.value(u"caption").isNull());
        else
            QCOMPARE(item.value(u"caption").toString(), caption);

        const QString action = item.value(u"action").toString();
        const QString handler = item.value(u"handler").toString();
        const QString bound = !action.isEmpty()
            ? u"action:"_s + action + u':' + m_actions.value(action).value(u"class").toString()
            : !handler.isEmpty() ? u"handler:"_s + handler : u"nothing"_s;
        QCOMPARE(bound, runs);

        QCOMPARE(m_owner.value(name), owner);
        const QJsonObject l = m_link.value(name);
        if (!m_groups.contains(owner)) {
            QVERIFY2(l.isEmpty(), "a sub-menu entry carries no group link");
            return;
        }
        QCOMPARE(l.value(u"continuesRow").toBool(), link.contains(u'r'));
        QCOMPARE(l.value(u"buttonGroupStart").toBool(), link.contains(u'b'));
        QCOMPARE(l.value(u"separatorBefore").toBool(), link.contains(u's'));
        QCOMPARE(l.value(u"width").toInt(-1), width);
        QCOMPARE(levelsText(l.value(u"viewLevels")), levelsText(viewLevelsFor(viewLevels)));
    }

    void subMenuEntries_data()
    {
        QTest::addColumn<QStringList>("classes");
        QTest::newRow("bNavrhDolniOhraniceni") << QStringList{
            u"ToggleTableCellsBottomBorder"_s, u"ToggleTableCellsTopBorder"_s,
            u"ToggleTableCellsLeftBorder"_s, u"ToggleTableCellsRightBorder"_s,
            u"ResetTableCellsBorders"_s, u"ToggleTableCellsAllBorders"_s,
            u"ToggleTableCellsOutsideBorder"_s, u"ToggleTableCellsInsideBorder"_s,
            u"ToggleTableCellsInsideHorizontalBorder"_s, u"ToggleTableCellsInsideVerticalBorder"_s};
        QTest::newRow("bRozlozeniTabulkyOdstranitTabulku") << QStringList{
            u"ShowDeleteTableCellsForm"_s, u"DeleteTableColumns"_s, u"DeleteTableRows"_s,
            u"DeleteTable"_s};
        QTest::newRow("bRozlozeniTabulkyPrispusobit") << QStringList{
            u"ToggleTableAutoFitContents"_s, u"ToggleTableAutoFitWindow"_s,
            u"ToggleTableFixedColumnWidth"_s};
        QTest::newRow("bReferenceTitulkyVlozitSeznam") << QStringList{
            u"InsertTableOfFigures"_s, u"InsertTableOfEquations"_s, u"InsertTableOfEquations"_s};
    }

    void subMenuEntries()
    {
        QFETCH(QStringList, classes);
        QStringList actual;
        for (const QJsonValue &e : m_items.value(QString::fromUtf8(QTest::currentDataTag()))
                                       .value(u"entries").toArray()) {
            const QString action = m_items.value(e.toString()).value(u"action").toString();
            actual << m_actions.value(action).value(u"class").toString();
        }
        QCOMPARE(actual, classes);
    }

    void statusBarPanels()
    {
        const QJsonArray panels =
            m_main.value(u"statusBar").toObject().value(u"panels").toArray();
        QCOMPARE(panels.size(), 6);
        QStringList kinds, fixed;
        for (const QJsonValue &p : panels) {
            kinds << p[u"kind"].toString();
            fixed << (p[u"fixed"].toBool() ? u"fixed"_s : u"stretch"_s);
        }
        QCOMPARE(kinds, (QStringList{u"text"_s, u"toolbar"_s, u"toolbar"_s, u"toolbar"_s,
                                     u"toolbar"_s, u"keyboard state"_s}));
        QCOMPARE(fixed.indexOf(u"stretch"_s), 1);
        QCOMPARE(fixed.lastIndexOf(u"stretch"_s), 1);
        const QJsonArray keys = panels.at(5)[u"keys"].toArray();
        QCOMPARE(keys.size(), 4);
        QCOMPARE(keys.at(3)[u"activeCaption"].toString(), u"OVR"_s);
        QCOMPARE(keys.at(3)[u"inactiveCaption"].toString(), u"INS"_s);
    }

    void dateTimeDialog()
    {
        const QJsonObject form = m_dialog.value(u"form").toObject();
        QCOMPARE(form.value(u"name").toString(), u"fDatumCas"_s);
        const QJsonObject props = form.value(u"properties").toObject();
        QCOMPARE(props.value(u"Caption").toString(), u"Datum a čas"_s);
        QCOMPARE(props.value(u"ClientWidth").toInt(), 258);
        QCOMPARE(props.value(u"ClientHeight").toInt(), 308);

        const QJsonArray controls = m_dialog.value(u"controls").toArray();
        QCOMPARE(names(m_dialog.value(u"tabOrder").toArray()),
                 (QStringList{u"bVlozit"_s, u"bStorno"_s, u"lbCas"_s}));
        for (int i = 0; i < controls.size(); ++i) {
            QCOMPARE(controls.at(i)[u"tabOrder"].toInt(), i);
            QCOMPARE(controls.at(i)[u"name"].toString(),
                     m_dialog.value(u"tabOrder").toArray().at(i).toString());
        }
        const QHash<QString, QJsonObject> byName = indexByName(controls);
        QCOMPARE(byName[u"bVlozit"_s].value(u"properties")[u"Caption"].toString(), u"Ok"_s);
        QVERIFY(byName[u"bVlozit"_s].value(u"properties")[u"Default"].toBool());
        QVERIFY(byName[u"bStorno"_s].value(u"properties")[u"Cancel"].toBool());
        QCOMPARE(byName[u"lbCas"_s].value(u"properties")[u"ItemHeight"].toInt(), 15);
    }
};

QTEST_APPLESS_MAIN(TestDesignData)
#include "tst_design_data.moc"
