#include "DocxFormat.h"

#include "docx/DocxPackage.h"
#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"

#include <QCoreApplication>
#include <QIODevice>

namespace formats {

static QByteArray compoundFileSignature()
{
    return QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

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
    // Encrypted packages come wrapped in a compound file; claim them when
    // the name says .docx so the reader can say why they do not open.
    if (head.startsWith(compoundFileSignature()))
        return SniffResult::Maybe;
    if (!DocxPackage::looksLikeZip(head))
        return SniffResult::No;
    return head.contains("[Content_Types].xml") || head.contains("word/") ? SniffResult::Yes
                                                                          : SniffResult::Maybe;
}

bool DocxFormat::read(QIODevice *device, richedit::RichEditDocument *document, QString *error) const
{
    const QByteArray bytes = device->readAll();
    if (bytes.startsWith(compoundFileSignature())) {
        *error = QCoreApplication::translate(
            "formats", "the file is a compound file: an encrypted document or a Word 97-2003 "
                       "document, which this program cannot open yet");
        return false;
    }
    DocxReader reader(bytes, document);
    if (reader.read())
        return true;
    *error = reader.error();
    return false;
}

bool DocxFormat::write(const richedit::RichEditDocument &document, QIODevice *device,
                       QString *error) const
{
    DocxWriter writer(document);
    const QByteArray bytes = writer.write();
    if (bytes.isEmpty()) {
        *error = writer.error();
        return false;
    }
    if (device->write(bytes) != bytes.size()) {
        *error = device->errorString();
        return false;
    }
    return true;
}

} // namespace formats
