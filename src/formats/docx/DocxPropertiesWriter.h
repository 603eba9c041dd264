#pragma once

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableCellFormat>

#include <functional>

class QXmlStreamWriter;

namespace formats {

// Writes Qt formats as w:rPr and w:pPr: only what differs from a base
// (the style's resolved format), children in the order the schema asks
// for, which Word checks. Lengths are twips, font sizes points.
class DocxPropertiesWriter
{
public:
    static void writeRun(QXmlStreamWriter &w, const QTextCharFormat &format,
                         const QTextCharFormat &base, const QString &styleId = QString());

    // List membership a paragraph states itself (w:numPr).
    struct Numbering
    {
        bool write = false;
        int instance = 0;
        int level = 0;
    };
    // `outlineLevel` >= 0 writes w:outlineLvl; `section` writes w:sectPr
    // last inside the w:pPr.
    static void writeParagraph(QXmlStreamWriter &w, const QTextBlockFormat &format,
                               const QTextBlockFormat &base, const QString &styleId,
                               const Numbering &numbering, int outlineLevel,
                               const std::function<void()> &section = {});

    // w:tcBorders of a cell: every edge, "nil" where it has none.
    static void writeCellBorders(QXmlStreamWriter &w, const QTextTableCellFormat &format);
    // "FF0000"
    static QString color(const QColor &color);
};

} // namespace formats
