// libFuzzer entry point for one document reader, chosen at build time
// (MARLIX_FUZZ_FORMAT). Whatever the reader accepts is written back as
// DOCX as well, so the writers see the odd models damaged input makes.
#include "formats/DocxFormat.h"
#include "formats/RtfFormat.h"

#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    richedit::RichEditDocument doc;
    QString error;
    const formats::MARLIX_FUZZ_FORMAT format;
    if (!format.read(&in, &doc, &error))
        return 0;
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    formats::DocxFormat().write(doc, &out, &error);
    return 0;
}
