#include "DocxFormat.h"

#include "docx/DocxPackage.h"
#include "docx/DocxReader.h"

#include <QCoreApplication>
#include <QIODevice>

namespace formats {

QString DocxFormat::name() const
{
    return QCoreApplication::translate("formats", "Word Document");
}

QStringList DocxFormat::extensions() const
{
    return {QStringLiteral("docx"), QStringLiteral("docm"), QStringLiteral("dotx"),
            QStringLiteral("dotm")};
}

SniffResult DocxFormat::sniff(const QByteArray &head) const
{
    // Every OOXML package starts with a local ZIP header; Word writes
    // [Content_Types].xml first, but other producers do not.
    if (!DocxPackage::looksLikeZip(head))
        return SniffResult::No;
    return head.contains("[Content_Types].xml") || head.contains("word/") ? SniffResult::Yes
                                                                          : SniffResult::Maybe;
}

bool DocxFormat::read(QIODevice *device, richedit::RichEditDocument *document, QString *error) const
{
    DocxReader reader(device->readAll(), document);
    if (reader.read())
        return true;
    *error = reader.error();
    return false;
}

bool DocxFormat::write(const richedit::RichEditDocument &, QIODevice *, QString *error) const
{
    *error = QCoreApplication::translate("formats", "writing Word documents is not available");
    return false;
}

} // namespace formats
