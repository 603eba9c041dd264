#include "HtmlWriter.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

static QString px(double twips)
{
    return QString::number(qRound(twips / 15.0 * 100) / 100.0) + u"px"_s;
}

static QString cssColor(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

static QColor brushColor(const QTextFormat &f, int property)
{
    if (!f.hasProperty(property))
        return QColor();
    const QBrush b = f.brushProperty(property);
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

// Heading N (1..6) of a paragraph style name, else 0.
static int headingLevel(const QString &style)
{
    if (!style.startsWith(u"Heading "_s))
        return 0;
    const int level = style.mid(8).toInt();
    return level >= 1 && level <= 6 ? level : 0;
}

HtmlWriter::HtmlWriter(const RichEditDocument &document) : m_doc(document) {}

const QTextCharFormat &HtmlWriter::styleFormat(const QString &style)
{
    auto it = m_styleFormats.find(style);
    if (it == m_styleFormats.end())
        it = m_styleFormats.insert(style, m_doc.styles().resolvedCharFormat(style));
    return *it;
}

QByteArray HtmlWriter::write()
{
    m_out.reserve(m_doc.mainStory()->characterCount() * 2 + 1024);
    m_out += u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"_s;
    m_out += u"<title>"_s + m_doc.settings().properties.title.toHtmlEscaped() + u"</title>"_s;
    // Spaces and tabs are text in a word processor; pre-wrap keeps them.
    // Body text takes the Normal style's font; headings keep their own.
    m_out += u"<style>p,li,h1,h2,h3,h4,h5,h6{white-space:pre-wrap}p,li{"_s;
    const QTextCharFormat &normal = styleFormat(StyleSheet::normalStyleName());
    if (!normal.fontFamilies().toStringList().isEmpty())
        m_out += u"font-family:'"_s + normal.fontFamilies().toStringList().first() + u"';"_s;
    if (normal.fontPointSize() > 0)
        m_out += u"font-size:"_s + QString::number(normal.fontPointSize()) + u"pt;"_s;
    m_out += u"}</style></head>\n<body"_s;
    const QColor page = m_doc.settings().pageColor;
    if (page.isValid())
        m_out += u" style=\"background-color:"_s + cssColor(page) + u"\""_s;
    m_out += u'>';
    writeItems(m_doc.mainStory()->rootFrame()->begin());
    syncLists(0, 0);
    m_out += u"</body></html>"_s;
    return m_out.toUtf8();
}

void HtmlWriter::writeItems(QTextFrame::iterator it)
{
    for (; !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame())) {
            syncLists(0, 0);
            writeTable(table);
        } else if (QTextFrame *frame = it.currentFrame()) {
            writeItems(frame->begin());
        } else {
            writeParagraph(it.currentBlock());
        }
    }
}

// Closes and opens ol/ul so that the open lists end at `level` of
// `instance` (0: no list).
void HtmlWriter::syncLists(int instance, int level)
{
    while (!m_lists.isEmpty() &&
           (m_lists.last().instance != instance || m_lists.size() > level + 1)) {
        m_out += m_lists.takeLast().ordered ? u"</ol>"_s : u"</ul>"_s;
    }
    if (instance == 0)
        return;
    while (m_lists.size() <= level) {
        const int l = int(m_lists.size());
        const ListLevel def = m_doc.lists().level(instance, l);
        const bool ordered = def.format != NumberFormat::Bullet && def.format != NumberFormat::None;
        if (!ordered) {
            m_out += u"<ul>"_s;
        } else {
            m_out += u"<ol"_s;
            switch (def.format) {
            case NumberFormat::LowerLetter:
                m_out += u" type=\"a\""_s;
                break;
            case NumberFormat::UpperLetter:
                m_out += u" type=\"A\""_s;
                break;
            case NumberFormat::LowerRoman:
                m_out += u" type=\"i\""_s;
                break;
            case NumberFormat::UpperRoman:
                m_out += u" type=\"I\""_s;
                break;
            default:
                break;
            }
            if (def.start != 1)
                m_out += u" start=\""_s + QString::number(def.start) + u'"';
            m_out += u'>';
        }
        m_lists.append({instance, l, ordered});
    }
}

void HtmlWriter::writeParagraph(const QTextBlock &block)
{
    const QTextBlockFormat f = block.blockFormat();
    QString style = f.stringProperty(ModelProperty::ParagraphStyle);
    if (!m_doc.styles().find(style))
        style = StyleSheet::normalStyleName();
    const int list = f.intProperty(ModelProperty::ListInstance);
    const bool listed = list > 0 && m_doc.lists().instance(list);
    syncLists(listed ? list : 0, qBound(0, f.intProperty(ModelProperty::ListLevel), 8));
    const int heading = headingLevel(style);
    const QString tag = listed ? u"li"_s : heading ? u"h"_s + QString::number(heading) : u"p"_s;

    QString css = u"margin:"_s + px(f.topMargin()) + u' ' + px(f.rightMargin()) + u' ' +
                  px(f.bottomMargin()) + u' ' + px(listed ? 0 : f.leftMargin()) + u';';
    if (!listed && f.textIndent() != 0)
        css += u"text-indent:"_s + px(f.textIndent()) + u';';
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        css += u"text-align:justify;"_s;
    else if (a & Qt::AlignHCenter)
        css += u"text-align:center;"_s;
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        css += u"text-align:right;"_s;
    if (f.hasProperty(ModelProperty::LineSpacingRule)) {
        const int rule = f.intProperty(ModelProperty::LineSpacingRule);
        const double value = f.doubleProperty(ModelProperty::LineSpacingValue);
        if (rule == int(LineSpacing::Multiple))
            css += u"line-height:"_s + QString::number(qRound(value * 100)) + u"%;"_s;
        else
            css += u"line-height:"_s + px(value) +
                   (rule == int(LineSpacing::Exactly) ? u";-qt-line-height-type:fixed;"_s
                                                      : u";-qt-line-height-type:minimum;"_s);
    }
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        css += u"page-break-before:always;"_s;
    const QColor back = brushColor(f, QTextFormat::BackgroundBrush);
    if (back.isValid())
        css += u"background-color:"_s + cssColor(back) + u';';
    m_out += u'<' + tag + u" style=\""_s + css + u"\">"_s;

    const QTextCharFormat &base = styleFormat(style);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        writeRun(fragment.text(), fragment.charFormat(), base, heading > 0);
    }
    if (!m_href.isEmpty()) {
        m_out += u"</a>"_s;
        m_href.clear();
    }
    m_out += u"</"_s + tag + u">"_s;
}

void HtmlWriter::writeRun(QStringView text, const QTextCharFormat &f, const QTextCharFormat &base,
                          bool heading)
{
    const QString href = f.anchorHref();
    if (href != m_href) {
        if (!m_href.isEmpty())
            m_out += u"</a>"_s;
        if (!href.isEmpty())
            m_out += u"<a href=\""_s + href.toHtmlEscaped() + u"\">"_s;
        m_href = href;
    }
    if (f.objectType() == QTextFormat::ImageObject) {
        const QTextImageFormat image = f.toImageFormat();
        QString id = f.stringProperty(ModelProperty::ImageId);
        writeImage(id.isEmpty() ? image.name() : id, image.width(), image.height());
        return;
    }
    if (f.objectType() == FloatingObjectTextFormat) {
        const FloatingObject *o =
            m_doc.floatingObject(f.intProperty(ModelProperty::FloatingObjectId));
        if (o && o->kind == FloatingObject::Kind::Picture)
            writeImage(o->imageId, o->size.width(), o->size.height());
        return;
    }
    if (f.boolProperty(ModelProperty::Hidden))
        return;

    // Links get their look stated, as browsers and Qt give them their own.
    const bool link = !href.isEmpty();
    QString css;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && families != base.fontFamilies().toStringList())
        css += u"font-family:'"_s + families.first() + u"';"_s;
    if (f.fontPointSize() > 0 && f.fontPointSize() != base.fontPointSize())
        css += u"font-size:"_s + QString::number(f.fontPointSize()) + u"pt;"_s;
    const bool bold = f.fontWeight() >= QFont::Bold;
    if (heading || bold != (base.fontWeight() >= QFont::Bold))
        css += bold ? u"font-weight:bold;"_s : u"font-weight:normal;"_s;
    if (f.fontItalic() != base.fontItalic())
        css += f.fontItalic() ? u"font-style:italic;"_s : u"font-style:normal;"_s;
    if (link || f.fontUnderline() != base.fontUnderline() ||
        f.fontStrikeOut() != base.fontStrikeOut()) {
        css += u"text-decoration:"_s;
        if (f.fontUnderline())
            css += u"underline "_s;
        if (f.fontStrikeOut())
            css += u"line-through "_s;
        if (!f.fontUnderline() && !f.fontStrikeOut())
            css += u"none"_s;
        css += u';';
    }
    const QColor fore = brushColor(f, QTextFormat::ForegroundBrush);
    if (fore.isValid() && (link || fore != brushColor(base, QTextFormat::ForegroundBrush)))
        css += u"color:"_s + cssColor(fore) + u';';
    const QColor back = brushColor(f, QTextFormat::BackgroundBrush);
    if (back.isValid() && back != brushColor(base, QTextFormat::BackgroundBrush))
        css += u"background-color:"_s + cssColor(back) + u';';
    if (f.verticalAlignment() != base.verticalAlignment()) {
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            css += u"vertical-align:super;"_s;
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            css += u"vertical-align:sub;"_s;
    }
    if (f.fontCapitalization() != base.fontCapitalization()) {
        if (f.fontCapitalization() == QFont::SmallCaps)
            css += u"font-variant:small-caps;"_s;
        else if (f.fontCapitalization() == QFont::AllUppercase)
            css += u"text-transform:uppercase;"_s;
    }
    if (!css.isEmpty())
        m_out += u"<span style=\""_s + css + u"\">"_s;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text[i];
        if (!end && c != QChar::LineSeparator && c != QChar::ObjectReplacementCharacter)
            continue;
        m_out += text.mid(from, i - from).toString().toHtmlEscaped();
        if (c == QChar::LineSeparator)
            m_out += u"<br>"_s;
        from = i + 1;
    }
    if (!css.isEmpty())
        m_out += u"</span>"_s;
}

void HtmlWriter::writeImage(const QString &imageId, double width, double height)
{
    if (!m_doc.images().contains(imageId))
        return;
    const ImageStore::Entry e = m_doc.images().entry(imageId);
    const QString type = e.suffix == u"jpg"_s ? u"jpeg"_s : e.suffix;
    m_out += u"<img src=\"data:image/"_s + type + u";base64,"_s +
             QString::fromLatin1(e.bytes.toBase64()) + u"\" width=\""_s +
             QString::number(qRound(width / 15)) + u"\" height=\""_s +
             QString::number(qRound(height / 15)) + u"\">"_s;
}

static QString borderCss(const char16_t *side, qreal width, QTextFrameFormat::BorderStyle style,
                         const QBrush &brush)
{
    QString css = u"border-"_s + QString::fromUtf16(side) + u':';
    if (width <= 0 || style == QTextFrameFormat::BorderStyle_None)
        return css + u"none;"_s;
    css += px(width) + u' ';
    css += style == QTextFrameFormat::BorderStyle_Dotted   ? u"dotted"_s
           : style == QTextFrameFormat::BorderStyle_Dashed ? u"dashed"_s
           : style == QTextFrameFormat::BorderStyle_Double ? u"double"_s
                                                           : u"solid"_s;
    return css + u' ' + (brush.style() == Qt::NoBrush ? u"#000000"_s : cssColor(brush.color())) +
           u';';
}

void HtmlWriter::writeTable(QTextTable *table)
{
    const QTextTableFormat tf = table->format();
    const QList<QTextLength> widths = tf.columnWidthConstraints();
    m_out += u"<table cellspacing=\"0\" style=\"border-collapse:collapse;"_s;
    if (tf.width().type() == QTextLength::FixedLength)
        m_out += u"width:"_s + px(tf.width().rawValue()) + u';';
    else if (tf.width().type() == QTextLength::PercentageLength)
        m_out += u"width:"_s + QString::number(tf.width().rawValue()) + u"%;"_s;
    m_out += u"\">"_s;
    for (int r = 0; r < table->rows(); ++r) {
        m_out += u"<tr>"_s;
        for (int c = 0; c < table->columns();) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = qMax(1, cell.column() + cell.columnSpan() - c);
            if (cell.row() == r) {
                const QTextTableCellFormat cf = cell.format().toTableCellFormat();
                m_out += u"<td"_s;
                if (span > 1)
                    m_out += u" colspan=\""_s + QString::number(span) + u'"';
                if (cell.rowSpan() > 1)
                    m_out += u" rowspan=\""_s + QString::number(cell.rowSpan()) + u'"';
                double width = 0;
                for (int i = c; i < c + span; ++i) {
                    const QTextLength l = widths.value(i);
                    width += l.type() == QTextLength::FixedLength ? l.rawValue() : 0;
                }
                if (width > 0)
                    m_out += u" width=\""_s + QString::number(qRound(width / 15)) + u'"';
                m_out +=
                    u" style=\""_s +
                    borderCss(u"top", cf.topBorder(), cf.topBorderStyle(), cf.topBorderBrush()) +
                    borderCss(u"right", cf.rightBorder(), cf.rightBorderStyle(),
                              cf.rightBorderBrush()) +
                    borderCss(u"bottom", cf.bottomBorder(), cf.bottomBorderStyle(),
                              cf.bottomBorderBrush()) +
                    borderCss(u"left", cf.leftBorder(), cf.leftBorderStyle(),
                              cf.leftBorderBrush()) +
                    u"padding:"_s + px(cf.topPadding()) + u' ' + px(cf.rightPadding()) + u' ' +
                    px(cf.bottomPadding()) + u' ' + px(cf.leftPadding()) + u';';
                if (cf.background().style() != Qt::NoBrush)
                    m_out += u"background-color:"_s + cssColor(cf.background().color()) + u';';
                if (cf.verticalAlignment() == QTextCharFormat::AlignMiddle)
                    m_out += u"vertical-align:middle;"_s;
                else if (cf.verticalAlignment() == QTextCharFormat::AlignBottom)
                    m_out += u"vertical-align:bottom;"_s;
                m_out += u"\">"_s;
                writeItems(cell.begin());
                syncLists(0, 0);
                m_out += u"</td>"_s;
            }
            c += span;
        }
        m_out += u"</tr>"_s;
    }
    m_out += u"</table>"_s;
}

} // namespace formats
