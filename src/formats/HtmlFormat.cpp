#include "HtmlFormat.h"

#include "PlainTextFormat.h"
#include "html/HtmlReader.h"
#include "html/HtmlWriter.h"

#include <QCoreApplication>
#include <QIODevice>

namespace formats {

QString HtmlFormat::name() const
{
    return QCoreApplication::translate("formats", "Web Page");
}

QStringList HtmlFormat::extensions() const
{
    return {QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("xhtml")};
}

SniffResult HtmlFormat::sniff(const QByteArray &head) const
{
    if (head.contains('\0'))
        return SniffResult::No;
    const QByteArray start = head.left(512).trimmed().toLower();
    const qsizetype skip = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (start.mid(skip).startsWith("<!doctype html") || start.mid(skip).startsWith("<html"))
        return SniffResult::Yes;
    return head.contains('<') ? SniffResult::Maybe : SniffResult::No;
}

bool HtmlFormat::read(QIODevice *device, richedit::RichEditDocument *document, QString *error) const
{
    const QByteArray bytes = device->readAll();
    if (bytes.isEmpty() && !device->atEnd()) {
        *error = device->errorString();
        return false;
    }
    // Pages say their encoding rarely; UTF-8 first, as for plain text.
    HtmlReader(document).read(PlainTextFormat::decode(bytes));
    return true;
}

bool HtmlFormat::write(const richedit::RichEditDocument &document, QIODevice *device,
                       QString *error) const
{
    const QByteArray bytes = HtmlWriter(document).write();
    if (device->write(bytes) != bytes.size()) {
        *error = device->errorString();
        return false;
    }
    return true;
}

} // namespace formats
