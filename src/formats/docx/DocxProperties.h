#pragma once

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>

namespace formats {

class XmlScanner;

// The theme's body and heading fonts, which run fonts may refer to.
struct ThemeFonts
{
    QString minor = QStringLiteral("Calibri");
    QString major = QStringLiteral("Calibri Light");
};

// One edge of a table or cell border, or a paragraph border.
struct DocxBorder
{
    bool set = false; // the element was there (val="nil" sets "no border")
    int width = 0;    // twips; 0: none
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_None;
    QColor color;
};

// Borders and cell margins a table or table style sets.
struct DocxTableLook
{
    DocxBorder top, left, bottom, right, insideH, insideV;
    int cellMargins[4] = {-1, -1, -1, -1}; // top, left, bottom, right twips; -1 unset
};

// Parsers of the children of w:rPr and w:pPr into Qt formats (lengths in
// twips, font sizes in points). Each handles one child element and says
// whether it knew it, so callers read the rest themselves (w:pStyle,
// w:numPr, w:sectPr need the document).
class DocxProperties
{
public:
    static bool runChild(XmlScanner &x, QTextCharFormat *format, const ThemeFonts &theme);
    static bool paragraphChild(XmlScanner &x, QTextBlockFormat *format);
    // Reads all of a w:rPr (the scanner at its start).
    static void readRun(XmlScanner &x, QTextCharFormat *format, const ThemeFonts &theme);
    // w:tblBorders and w:tblCellMar of a w:tblPr.
    static bool tableLookChild(XmlScanner &x, DocxTableLook *look);
    static DocxBorder border(const XmlScanner &x);
    // "FF0000" or "auto" (invalid colour).
    static QColor color(QStringView value);
    // w:w with w:type dxa/pct/auto; percentages come back negative (fiftieths).
    static int width(const XmlScanner &x);
    static Qt::Alignment alignment(QStringView value);
};

} // namespace formats
