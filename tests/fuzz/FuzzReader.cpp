// libFuzzer entry point for one document reader, chosen at build time
// (MARLIX_FUZZ_FORMAT). Whatever the reader accepts is written back as
// DOCX as well, so the writers see the odd models damaged input makes.
// The DOCX target takes input that is no ZIP as the document part of a
// package, so the mutations reach the XML readers past the ZIP checksums.
#include "formats/DocxFormat.h"
#include "formats/RtfFormat.h"
#include "formats/docx/ZipWriter.h"

#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <type_traits>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

using Format = formats::MARLIX_FUZZ_FORMAT;

static QByteArray packageAround(const QByteArray &documentXml)
{
    formats::ZipWriter zip;
    zip.add(QStringLiteral("[Content_Types].xml"),
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
    zip.add(QStringLiteral("_rels/.rels"),
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"r\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
            "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    zip.add(QStringLiteral("word/document.xml"), documentXml);
    return zip.finish();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if constexpr (std::is_same_v<Format, formats::DocxFormat>) {
        if (!bytes.startsWith("PK"))
            bytes = packageAround(bytes);
    }
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    richedit::RichEditDocument doc;
    QString error;
    const Format format;
    if (!format.read(&in, &doc, &error))
        return 0;
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    formats::DocxFormat().write(doc, &out, &error);
    return 0;
}
