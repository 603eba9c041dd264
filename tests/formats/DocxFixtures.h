#pragma once

// Small .docx packages made in the tests: parts as XML text, zipped with
// the project's ZipWriter.
#include "formats/docx/ZipWriter.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

namespace fixtures {

inline const char *const W =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

inline QByteArray
contentTypes(const QByteArray &mainType =
                 "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml")
{
    return "<?xml version=\"1.0\"?><Types "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/word/document.xml\" ContentType=\"" +
           mainType + "\"/></Types>";
}

inline QByteArray rels(const QList<QPair<QByteArray, QByteArray>> &typeAndTarget)
{
    QByteArray out =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    int id = 1;
    for (const auto &[type, target] : typeAndTarget)
        out += "<Relationship Id=\"rId" + QByteArray::number(id++) +
               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
               type + "\" Target=\"" + target + "\"/>";
    return out + "</Relationships>";
}

inline QByteArray body(const QByteArray &content)
{
    return QByteArray("<w:document ") + W + "><w:body>" + content + "</w:body></w:document>";
}

// A package from parts; the content types and package relationships of a
// minimal document unless given.
inline QByteArray package(QMap<QString, QByteArray> parts)
{
    if (!parts.contains(QStringLiteral("[Content_Types].xml")))
        parts.insert(QStringLiteral("[Content_Types].xml"), contentTypes());
    if (!parts.contains(QStringLiteral("_rels/.rels")))
        parts.insert(QStringLiteral("_rels/.rels"),
                     rels({{"officeDocument", "word/document.xml"}}));
    formats::ZipWriter zip;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        zip.add(it.key(), it.value());
    return zip.finish();
}

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(path));
    return path;
}

} // namespace fixtures
