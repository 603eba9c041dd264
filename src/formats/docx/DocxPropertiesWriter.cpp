#include "DocxPropertiesWriter.h"

#include "richedit/model/ModelProperty.h"

#include <QXmlStreamWriter>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

QString DocxPropertiesWriter::color(const QColor &c)
{
    return QString::number(c.rgb() & 0xFFFFFF, 16).rightJustified(6, u'0').toUpper();
}

static QColor brushColor(const QTextFormat &f, int property)
{
    if (!f.hasProperty(property))
        return QColor();
    const QBrush b = f.brushProperty(property);
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

// The named highlight colours Word offers; other colours go as shading.
static QString highlightName(const QColor &c)
{
    static const struct
    {
        const char16_t *name;
        QRgb rgb;
    } table[] = {{u"yellow", 0xFFFF00},      {u"green", 0x00FF00},     {u"cyan", 0x00FFFF},
                 {u"magenta", 0xFF00FF},     {u"blue", 0x0000FF},      {u"red", 0xFF0000},
                 {u"darkBlue", 0x000080},    {u"darkCyan", 0x008080},  {u"darkGreen", 0x008000},
                 {u"darkMagenta", 0x800080}, {u"darkRed", 0x800000},   {u"darkYellow", 0x808000},
                 {u"darkGray", 0x808080},    {u"lightGray", 0xC0C0C0}, {u"black", 0x000000},
                 {u"white", 0xFFFFFF}};
    for (const auto &e : table) {
        if ((c.rgb() & 0xFFFFFF) == e.rgb)
            return QString::fromUtf16(e.name);
    }
    return QString();
}

static void onOff(QXmlStreamWriter &w, const QString &name, bool on)
{
    w.writeEmptyElement(name);
    if (!on)
        w.writeAttribute(u"w:val"_s, u"0"_s);
}

static void valueElement(QXmlStreamWriter &w, const QString &name, const QString &value)
{
    w.writeEmptyElement(name);
    w.writeAttribute(u"w:val"_s, value);
}

void DocxPropertiesWriter::writeRun(QXmlStreamWriter &w, const QTextCharFormat &f,
                                    const QTextCharFormat &base, const QString &styleId)
{
    bool open = false;
    auto start = [&] {
        if (!open)
            w.writeStartElement(u"w:rPr"_s);
        open = true;
    };
    if (!styleId.isEmpty()) {
        start();
        valueElement(w, u"w:rStyle"_s, styleId);
    }
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && families != base.fontFamilies().toStringList()) {
        start();
        w.writeEmptyElement(u"w:rFonts"_s);
        for (const QString &a : {u"w:ascii"_s, u"w:hAnsi"_s, u"w:eastAsia"_s, u"w:cs"_s})
            w.writeAttribute(a, families.first());
    }
    const bool bold = f.fontWeight() >= QFont::Bold;
    if (bold != (base.fontWeight() >= QFont::Bold)) {
        start();
        onOff(w, u"w:b"_s, bold);
        onOff(w, u"w:bCs"_s, bold);
    }
    if (f.fontItalic() != base.fontItalic()) {
        start();
        onOff(w, u"w:i"_s, f.fontItalic());
        onOff(w, u"w:iCs"_s, f.fontItalic());
    }
    const QFont::Capitalization caps = f.fontCapitalization();
    const QFont::Capitalization baseCaps = base.fontCapitalization();
    if (caps != baseCaps) {
        start();
        if (caps == QFont::AllUppercase || baseCaps == QFont::AllUppercase)
            onOff(w, u"w:caps"_s, caps == QFont::AllUppercase);
        if (caps == QFont::SmallCaps || baseCaps == QFont::SmallCaps)
            onOff(w, u"w:smallCaps"_s, caps == QFont::SmallCaps);
    }
    if (f.fontStrikeOut() != base.fontStrikeOut()) {
        start();
        onOff(w, u"w:strike"_s, f.fontStrikeOut());
    }
    const bool hidden = f.boolProperty(ModelProperty::Hidden);
    if (hidden != base.boolProperty(ModelProperty::Hidden)) {
        start();
        onOff(w, u"w:vanish"_s, hidden);
    }
    const QColor fore = brushColor(f, QTextFormat::ForegroundBrush);
    if (fore != brushColor(base, QTextFormat::ForegroundBrush)) {
        start();
        valueElement(w, u"w:color"_s, fore.isValid() ? color(fore) : u"auto"_s);
    }
    const double spacing =
        f.fontLetterSpacingType() == QFont::AbsoluteSpacing ? f.fontLetterSpacing() : 0;
    const double baseSpacing =
        base.fontLetterSpacingType() == QFont::AbsoluteSpacing ? base.fontLetterSpacing() : 0;
    if (qRound(spacing * 20) != qRound(baseSpacing * 20)) {
        start();
        valueElement(w, u"w:spacing"_s, QString::number(qRound(spacing * 20)));
    }
    const int halfPoints = qRound(f.fontPointSize() * 2);
    if (halfPoints > 0 && halfPoints != qRound(base.fontPointSize() * 2)) {
        start();
        valueElement(w, u"w:sz"_s, QString::number(halfPoints));
        valueElement(w, u"w:szCs"_s, QString::number(halfPoints));
    }
    const QColor back = brushColor(f, QTextFormat::BackgroundBrush);
    const QString highlight = back.isValid() ? highlightName(back) : QString();
    if (back.isValid() && back != brushColor(base, QTextFormat::BackgroundBrush) &&
        !highlight.isEmpty()) {
        start();
        valueElement(w, u"w:highlight"_s, highlight);
    }
    if (f.fontUnderline() != base.fontUnderline()) {
        start();
        valueElement(w, u"w:u"_s, f.fontUnderline() ? u"single"_s : u"none"_s);
    }
    if (back.isValid() && back != brushColor(base, QTextFormat::BackgroundBrush) &&
        highlight.isEmpty()) {
        start();
        w.writeEmptyElement(u"w:shd"_s);
        w.writeAttribute(u"w:val"_s, u"clear"_s);
        w.writeAttribute(u"w:color"_s, u"auto"_s);
        w.writeAttribute(u"w:fill"_s, color(back));
    }
    const auto valign = f.verticalAlignment();
    if (valign != base.verticalAlignment() &&
        (valign == QTextCharFormat::AlignSuperScript || valign == QTextCharFormat::AlignSubScript ||
         valign == QTextCharFormat::AlignNormal)) {
        start();
        valueElement(w, u"w:vertAlign"_s,
                     valign == QTextCharFormat::AlignSuperScript ? u"superscript"_s
                     : valign == QTextCharFormat::AlignSubScript ? u"subscript"_s
                                                                 : u"baseline"_s);
    }
    if (open)
        w.writeEndElement();
}

static Qt::Alignment horizontal(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return Qt::AlignJustify;
    if (a & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

static bool sameTab(const QTextOption::Tab &a, const QTextOption::Tab &b)
{
    return qRound(a.position) == qRound(b.position) && a.type == b.type;
}

static void writeTabs(QXmlStreamWriter &w, const QList<QTextOption::Tab> &tabs,
                      const QList<QTextOption::Tab> &baseTabs)
{
    w.writeStartElement(u"w:tabs"_s);
    auto tab = [&](const QString &val, double pos) {
        w.writeEmptyElement(u"w:tab"_s);
        w.writeAttribute(u"w:val"_s, val);
        w.writeAttribute(u"w:pos"_s, QString::number(qRound(pos)));
    };
    // Tabs the style sets and the paragraph does not are cleared.
    for (const QTextOption::Tab &b : baseTabs) {
        if (std::none_of(tabs.cbegin(), tabs.cend(),
                         [&](const QTextOption::Tab &t) { return sameTab(t, b); }))
            tab(u"clear"_s, b.position);
    }
    for (const QTextOption::Tab &t : tabs) {
        tab(t.type == QTextOption::CenterTab      ? u"center"_s
            : t.type == QTextOption::RightTab     ? u"right"_s
            : t.type == QTextOption::DelimiterTab ? u"decimal"_s
                                                  : u"left"_s,
            t.position);
    }
    w.writeEndElement();
}

void DocxPropertiesWriter::writeParagraph(QXmlStreamWriter &w, const QTextBlockFormat &f,
                                          const QTextBlockFormat &base, const QString &styleId,
                                          const Numbering &numbering, int outlineLevel,
                                          const std::function<void()> &section)
{
    bool open = false;
    auto start = [&] {
        if (!open)
            w.writeStartElement(u"w:pPr"_s);
        open = true;
    };
    auto flag = [&](int property, const QString &name) {
        const bool on = f.boolProperty(property);
        if (on != base.boolProperty(property)) {
            start();
            onOff(w, name, on);
        }
    };
    if (!styleId.isEmpty()) {
        start();
        valueElement(w, u"w:pStyle"_s, styleId);
    }
    flag(ModelProperty::KeepWithNext, u"w:keepNext"_s);
    flag(ModelProperty::KeepLinesTogether, u"w:keepLines"_s);
    const bool pageBreak = f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    if (pageBreak != bool(base.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
        start();
        onOff(w, u"w:pageBreakBefore"_s, pageBreak);
    }
    flag(ModelProperty::WidowControl, u"w:widowControl"_s);
    if (numbering.write) {
        start();
        w.writeStartElement(u"w:numPr"_s);
        valueElement(w, u"w:ilvl"_s, QString::number(numbering.level));
        valueElement(w, u"w:numId"_s, QString::number(numbering.instance));
        w.writeEndElement();
    }
    flag(ModelProperty::SuppressLineNumbers, u"w:suppressLineNumbers"_s);
    const QColor back = brushColor(f, QTextFormat::BackgroundBrush);
    if (back.isValid() && back != brushColor(base, QTextFormat::BackgroundBrush)) {
        start();
        w.writeEmptyElement(u"w:shd"_s);
        w.writeAttribute(u"w:val"_s, u"clear"_s);
        w.writeAttribute(u"w:color"_s, u"auto"_s);
        w.writeAttribute(u"w:fill"_s, color(back));
    }
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    const QList<QTextOption::Tab> baseTabs = base.tabPositions();
    if (!std::equal(tabs.cbegin(), tabs.cend(), baseTabs.cbegin(), baseTabs.cend(), sameTab)) {
        start();
        writeTabs(w, tabs, baseTabs);
    }
    if (f.layoutDirection() != base.layoutDirection()) {
        start();
        onOff(w, u"w:bidi"_s, f.layoutDirection() == Qt::RightToLeft);
    }

    const int before = qRound(f.topMargin());
    const int after = qRound(f.bottomMargin());
    const int rule = f.intProperty(ModelProperty::LineSpacingRule);
    const double line = f.doubleProperty(ModelProperty::LineSpacingValue);
    const bool lineSet = f.hasProperty(ModelProperty::LineSpacingRule) &&
                         (rule != base.intProperty(ModelProperty::LineSpacingRule) ||
                          line != base.doubleProperty(ModelProperty::LineSpacingValue));
    if (before != qRound(base.topMargin()) || after != qRound(base.bottomMargin()) || lineSet) {
        start();
        w.writeEmptyElement(u"w:spacing"_s);
        if (before != qRound(base.topMargin()))
            w.writeAttribute(u"w:before"_s, QString::number(before));
        if (after != qRound(base.bottomMargin()))
            w.writeAttribute(u"w:after"_s, QString::number(after));
        if (lineSet) {
            const bool multiple = rule == int(LineSpacing::Multiple);
            w.writeAttribute(u"w:line"_s, QString::number(qRound(multiple ? line * 240 : line)));
            w.writeAttribute(u"w:lineRule"_s, multiple                            ? u"auto"_s
                                              : rule == int(LineSpacing::Exactly) ? u"exact"_s
                                                                                  : u"atLeast"_s);
        }
    }
    const int left = qRound(f.leftMargin());
    const int right = qRound(f.rightMargin());
    const int indent = qRound(f.textIndent());
    if (left != qRound(base.leftMargin()) || right != qRound(base.rightMargin()) ||
        indent != qRound(base.textIndent())) {
        start();
        w.writeEmptyElement(u"w:ind"_s);
        if (left != qRound(base.leftMargin()))
            w.writeAttribute(u"w:left"_s, QString::number(left));
        if (right != qRound(base.rightMargin()))
            w.writeAttribute(u"w:right"_s, QString::number(right));
        if (indent != qRound(base.textIndent())) {
            if (indent < 0)
                w.writeAttribute(u"w:hanging"_s, QString::number(-indent));
            else
                w.writeAttribute(u"w:firstLine"_s, QString::number(indent));
        }
    }
    flag(ModelProperty::ContextualSpacing, u"w:contextualSpacing"_s);
    const Qt::Alignment align = horizontal(f);
    if (align != horizontal(base)) {
        start();
        valueElement(w, u"w:jc"_s,
                     align == Qt::AlignJustify   ? u"both"_s
                     : align == Qt::AlignHCenter ? u"center"_s
                     : align == Qt::AlignRight   ? u"right"_s
                                                 : u"left"_s);
    }
    if (outlineLevel >= 0) {
        start();
        valueElement(w, u"w:outlineLvl"_s, QString::number(outlineLevel));
    }
    if (section) {
        start();
        section();
    }
    if (open)
        w.writeEndElement();
}

void DocxPropertiesWriter::writeCellBorders(QXmlStreamWriter &w, const QTextTableCellFormat &f)
{
    struct Edge
    {
        const char16_t *name;
        qreal width;
        QTextFrameFormat::BorderStyle style;
        QBrush brush;
    };
    const Edge edges[] = {
        {u"w:top", f.topBorder(), f.topBorderStyle(), f.topBorderBrush()},
        {u"w:left", f.leftBorder(), f.leftBorderStyle(), f.leftBorderBrush()},
        {u"w:bottom", f.bottomBorder(), f.bottomBorderStyle(), f.bottomBorderBrush()},
        {u"w:right", f.rightBorder(), f.rightBorderStyle(), f.rightBorderBrush()},
    };
    w.writeStartElement(u"w:tcBorders"_s);
    for (const Edge &e : edges) {
        w.writeEmptyElement(QString::fromUtf16(e.name));
        if (e.width <= 0 || e.style == QTextFrameFormat::BorderStyle_None) {
            w.writeAttribute(u"w:val"_s, u"nil"_s);
            continue;
        }
        w.writeAttribute(u"w:val"_s, e.style == QTextFrameFormat::BorderStyle_Dotted   ? u"dotted"_s
                                     : e.style == QTextFrameFormat::BorderStyle_Dashed ? u"dashed"_s
                                     : e.style == QTextFrameFormat::BorderStyle_Double
                                         ? u"double"_s
                                         : u"single"_s);
        // w:sz is in eighths of a point.
        w.writeAttribute(u"w:sz"_s, QString::number(qMax(2, qRound(e.width * 8 / 20.0))));
        w.writeAttribute(u"w:space"_s, u"0"_s);
        w.writeAttribute(u"w:color"_s,
                         e.brush.style() == Qt::NoBrush ? u"auto"_s : color(e.brush.color()));
    }
    w.writeEndElement();
}

} // namespace formats
