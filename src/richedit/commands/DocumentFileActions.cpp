#include "DocumentFileActions.h"

#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"
#include "platform/Exception.h"
#include "platform/UiHost.h"
#include "richedit/view/RichEditControl.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace richedit::DocumentFileActions {

QString formatId(const formats::DocumentFormat *format)
{
    if (!format)
        return QString();
    const QString ext = format->extensions().value(0);
    if (ext == u"docx")
        return QStringLiteral("OpenXml");
    if (ext == u"rtf")
        return QStringLiteral("Rtf");
    if (ext == u"html")
        return QStringLiteral("Html");
    if (ext == u"txt")
        return QStringLiteral("PlainText");
    return format->name();
}

const formats::DocumentFormat *formatById(const QString &id)
{
    for (const auto &f : formats::FormatRegistry::instance().formats()) {
        if (formatId(f.get()) == id)
            return f.get();
    }
    return nullptr;
}

void write(RichEditControl *control, const QString &fileName, const formats::DocumentFormat *format)
{
    QString error;
    if (!formats::DocumentFile::save(fileName, *control->document(), format, &error))
        throw Exception(error);
    DocumentSaveOptions &options = control->documentSaveOptions();
    options.currentFileName = QFileInfo(fileName).absoluteFilePath();
    options.currentFormat = formatId(format);
    control->setModified(false);
}

void saveAs(RichEditControl *control)
{
    const formats::FormatRegistry &registry = formats::FormatRegistry::instance();
    const DocumentSaveOptions &options = control->documentSaveOptions();
    const formats::DocumentFormat *current = formatById(options.currentFormat);
    if (!current || !current->canWrite())
        current = registry.defaultSaveFormat();
    UiHost::FileQuestion q;
    q.mode = UiHost::FileQuestion::Save;
    q.caption = QCoreApplication::translate("SaveDocumentAs", "Save As");
    q.directory = options.currentFileName;
    q.filters = registry.saveFilters();
    q.selectedFilter = current ? current->filter() : QString();
    q.defaultSuffix = current ? current->extensions().value(0) : QString();
    const UiHost::FileAnswer a = UiHost::current().file(control->window(), q);
    if (a.fileName.isEmpty())
        return;
    // The extension typed wins over the filter chosen.
    const formats::DocumentFormat *format = registry.byFileName(a.fileName);
    if (!format || !format->canWrite())
        format = registry.byFilter(a.selectedFilter);
    if (!format)
        format = registry.defaultSaveFormat();
    write(control, a.fileName, format);
}

} // namespace richedit::DocumentFileActions
