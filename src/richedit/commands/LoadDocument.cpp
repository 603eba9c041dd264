#include "LoadDocument.h"

#include "DocumentFileActions.h"
#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"
#include "platform/Exception.h"
#include "platform/UiHost.h"

#include "richedit/view/RichEditControl.h"
#include <QFile>
#include <QFileInfo>

namespace richedit {

LoadDocument::LoadDocument(QObject *parent)
    : RichEditCommand(QStringLiteral("Command.LoadDocument"), tr("Open..."),
                      QStringLiteral("Command.LoadDocument.Description"), tr("Open a document."),
                      parent)
{
    setIcon(QIcon::fromTheme(QStringLiteral("document-open")));
}

void LoadDocument::execute()
{
    RichEditControl *c = control();
    const formats::FormatRegistry &registry = formats::FormatRegistry::instance();
    UiHost::FileQuestion q;
    q.mode = UiHost::FileQuestion::Open;
    q.caption = tr("Open");
    q.directory = c->documentSaveOptions().currentFileName;
    q.filters = registry.openFilters();
    q.selectedFilter = q.filters.value(0);
    const UiHost::FileAnswer a = UiHost::current().file(c->window(), q);
    if (a.fileName.isEmpty())
        return;
    QString error;
    if (!formats::DocumentFile::open(a.fileName, c->document(), &error))
        throw Exception(error);
    DocumentSaveOptions &options = c->documentSaveOptions();
    options.currentFileName = QFileInfo(a.fileName).absoluteFilePath();
    QFile file(a.fileName);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
    options.currentFormat = DocumentFileActions::formatId(registry.detect(head, a.fileName));
    c->setModified(false);
}

} // namespace richedit
