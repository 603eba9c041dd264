#include "DocumentFile.h"

#include "DocumentFormat.h"
#include "FormatRegistry.h"

#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace formats {

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

bool DocumentFile::open(const QString &fileName, richedit::RichEditDocument *document,
                        QString *error)
{
    return open(fileName, document, error, FormatRegistry::instance());
}

bool DocumentFile::open(const QString &fileName, richedit::RichEditDocument *document,
                        QString *error, const FormatRegistry &registry)
{
    const QString shown = QFileInfo(fileName).fileName();
    auto fail = [&](const QString &why) {
        if (error)
            *error = tr("Cannot open “%1”: %2").arg(shown, why);
        return false;
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > MaxFileSize)
        return fail(tr("the file is larger than %1 MB").arg(MaxFileSize >> 20));
    // Readers get the whole file in memory: ZIP needs random access and
    // parsing from memory is faster than from the disk.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    const DocumentFormat *format = registry.detect(bytes.left(4096), fileName);
    if (!format)
        return fail(tr("the file is in no format this program reads"));

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    richedit::RichEditDocument scratch;
    QString why;
    if (!format->read(&buffer, &scratch, &why))
        return fail(why);
    document->takeContent(scratch);
    return true;
}

bool DocumentFile::save(const QString &fileName, const richedit::RichEditDocument &document,
                        const DocumentFormat *format, QString *error)
{
    const QString shown = QFileInfo(fileName).fileName();
    auto fail = [&](const QString &why) {
        if (error)
            *error = tr("Cannot save “%1”: %2").arg(shown, why);
        return false;
    };
    if (!format)
        format = FormatRegistry::instance().byFileName(fileName);
    if (!format || !format->canWrite())
        return fail(tr("no format to write it in"));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QString why;
    if (!format->write(document, &file, &why)) {
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace formats
