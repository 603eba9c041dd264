#include "CommandFactory.h"

#include "CopySelection.h"
#include "CutSelection.h"
#include "LoadDocument.h"
#include "NewDocument.h"
#include "PasteSelection.h"
#include "Redo.h"
#include "SaveDocument.h"
#include "SaveDocumentAs.h"
#include "SelectAll.h"
#include "SwitchToDraftView.h"
#include "SwitchToPrintLayoutView.h"
#include "SwitchToSimpleView.h"
#include "ToggleShowHorizontalRuler.h"
#include "ToggleShowVerticalRuler.h"
#include "Undo.h"
#include "ZoomIn.h"
#include "ZoomOut.h"

#include <QHash>

#include <functional>

namespace richedit {

namespace {
using Maker = std::function<QAction *(QObject *)>;
const QHash<QString, Maker> &makers()
{
    static const QHash<QString, Maker> table{
        {QStringLiteral("NewDocument"), [](QObject *p) -> QAction * { return new NewDocument(p); }},
        {QStringLiteral("LoadDocument"),
         [](QObject *p) -> QAction * { return new LoadDocument(p); }},
        {QStringLiteral("SaveDocument"),
         [](QObject *p) -> QAction * { return new SaveDocument(p); }},
        {QStringLiteral("SaveDocumentAs"),
         [](QObject *p) -> QAction * { return new SaveDocumentAs(p); }},
        {QStringLiteral("Undo"), [](QObject *p) -> QAction * { return new Undo(p); }},
        {QStringLiteral("Redo"), [](QObject *p) -> QAction * { return new Redo(p); }},
        {QStringLiteral("CutSelection"),
         [](QObject *p) -> QAction * { return new CutSelection(p); }},
        {QStringLiteral("CopySelection"),
         [](QObject *p) -> QAction * { return new CopySelection(p); }},
        {QStringLiteral("PasteSelection"),
         [](QObject *p) -> QAction * { return new PasteSelection(p); }},
        {QStringLiteral("SelectAll"), [](QObject *p) -> QAction * { return new SelectAll(p); }},
        {QStringLiteral("ZoomIn"), [](QObject *p) -> QAction * { return new ZoomIn(p); }},
        {QStringLiteral("ZoomOut"), [](QObject *p) -> QAction * { return new ZoomOut(p); }},
        {QStringLiteral("SwitchToSimpleView"),
         [](QObject *p) -> QAction * { return new SwitchToSimpleView(p); }},
        {QStringLiteral("SwitchToDraftView"),
         [](QObject *p) -> QAction * { return new SwitchToDraftView(p); }},
        {QStringLiteral("SwitchToPrintLayoutView"),
         [](QObject *p) -> QAction * { return new SwitchToPrintLayoutView(p); }},
        {QStringLiteral("ToggleShowHorizontalRuler"),
         [](QObject *p) -> QAction * { return new ToggleShowHorizontalRuler(p); }},
        {QStringLiteral("ToggleShowVerticalRuler"),
         [](QObject *p) -> QAction * { return new ToggleShowVerticalRuler(p); }},
    };
    return table;
}
} // namespace

QAction *CommandFactory::create(const QString &commandClass, QObject *parent)
{
    const auto it = makers().constFind(commandClass);
    return it == makers().cend() ? nullptr : (*it)(parent);
}

QStringList CommandFactory::classes()
{
    QStringList list = makers().keys();
    list.sort();
    return list;
}

} // namespace richedit
