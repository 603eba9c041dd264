#include "RtfWriter.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

#include <algorithm>

namespace formats {

using namespace richedit;

static void word(QByteArray *out, const char *w, qint64 value)
{
    *out += '\\';
    *out += w;
    *out += QByteArray::number(value);
}

static void word(QByteArray *out, const char *w)
{
    *out += '\\';
    *out += w;
}

static int levelnfc(NumberFormat f)
{
    switch (f) {
    case NumberFormat::UpperRoman:
        return 1;
    case NumberFormat::LowerRoman:
        return 2;
    case NumberFormat::UpperLetter:
        return 3;
    case NumberFormat::LowerLetter:
        return 4;
    case NumberFormat::Ordinal:
        return 5;
    case NumberFormat::DecimalZero:
        return 22;
    case NumberFormat::Bullet:
        return 23;
    case NumberFormat::None:
        return 255;
    case NumberFormat::Decimal:
        break;
    }
    return 0;
}

static QColor brushColor(const QTextFormat &f, int property)
{
    if (!f.hasProperty(property))
        return QColor();
    const QBrush b = f.brushProperty(property);
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

RtfWriter::RtfWriter(const RichEditDocument &document) : m_doc(document)
{
    // Font 0 is the default font, which \plain and \deff name.
    const QStringList families =
        document.styles().defaultCharFormat().fontFamilies().toStringList();
    m_fonts.append(families.isEmpty() ? QStringLiteral("Times New Roman") : families.first());
}

int RtfWriter::fontIndex(const QString &family)
{
    qsizetype i = m_fonts.indexOf(family);
    if (i < 0) {
        m_fonts.append(family);
        i = m_fonts.size() - 1;
    }
    return int(i);
}

int RtfWriter::colorIndex(const QColor &color)
{
    // Entry 0 is "auto".
    const QColor c = QColor(color.rgb());
    qsizetype i = m_colors.indexOf(c);
    if (i < 0) {
        m_colors.append(c);
        i = m_colors.size() - 1;
    }
    return int(i) + 1;
}

void RtfWriter::writeCharacterProperties(const QTextCharFormat &f, const QTextCharFormat &base,
                                         QByteArray *out)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && families != base.fontFamilies().toStringList())
        word(out, "f", fontIndex(families.first()));
    const int halfPoints = qRound(f.fontPointSize() * 2);
    if (halfPoints > 0 && halfPoints != qRound(base.fontPointSize() * 2))
        word(out, "fs", halfPoints);
    auto toggle = [out](const char *w, bool on, bool baseOn) {
        if (on != baseOn)
            on ? word(out, w) : word(out, w, 0);
    };
    toggle("b", f.fontWeight() >= QFont::Bold, base.fontWeight() >= QFont::Bold);
    toggle("i", f.fontItalic(), base.fontItalic());
    if (f.fontUnderline() != base.fontUnderline())
        word(out, f.fontUnderline() ? "ul" : "ulnone");
    toggle("strike", f.fontStrikeOut(), base.fontStrikeOut());
    toggle("caps", f.fontCapitalization() == QFont::AllUppercase,
           base.fontCapitalization() == QFont::AllUppercase);
    toggle("scaps", f.fontCapitalization() == QFont::SmallCaps,
           base.fontCapitalization() == QFont::SmallCaps);
    toggle("v", f.boolProperty(ModelProperty::Hidden), base.boolProperty(ModelProperty::Hidden));
    const QColor fore = brushColor(f, QTextFormat::ForegroundBrush);
    if (fore != brushColor(base, QTextFormat::ForegroundBrush))
        word(out, "cf", fore.isValid() ? colorIndex(fore) : 0);
    const QColor back = brushColor(f, QTextFormat::BackgroundBrush);
    if (back != brushColor(base, QTextFormat::BackgroundBrush))
        word(out, "highlight", back.isValid() ? colorIndex(back) : 0);
    if (f.verticalAlignment() != base.verticalAlignment())
        word(out, f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? "super"
                  : f.verticalAlignment() == QTextCharFormat::AlignSubScript ? "sub"
                                                                             : "nosupersub");
    const double spacing =
        f.fontLetterSpacingType() == QFont::AbsoluteSpacing ? f.fontLetterSpacing() : 0;
    if (qRound(spacing * 20) != 0)
        word(out, "expndtw", qRound(spacing * 20));
    out->append(' ');
}

void RtfWriter::writeParagraphProperties(const QTextBlockFormat &f, const QTextBlockFormat &base,
                                         QByteArray *out)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        word(out, "qj");
    else if (a & Qt::AlignHCenter)
        word(out, "qc");
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        word(out, "qr");
    auto length = [&](const char *w, double value, double baseValue) {
        if (qRound(value) != qRound(baseValue))
            word(out, w, qRound(value));
    };
    length("li", f.leftMargin(), base.leftMargin());
    length("ri", f.rightMargin(), base.rightMargin());
    length("fi", f.textIndent(), base.textIndent());
    length("sb", f.topMargin(), base.topMargin());
    length("sa", f.bottomMargin(), base.bottomMargin());
    const int rule = f.intProperty(ModelProperty::LineSpacingRule);
    const double line = f.doubleProperty(ModelProperty::LineSpacingValue);
    if (f.hasProperty(ModelProperty::LineSpacingRule) &&
        (rule != base.intProperty(ModelProperty::LineSpacingRule) ||
         line != base.doubleProperty(ModelProperty::LineSpacingValue))) {
        if (rule == int(LineSpacing::Multiple)) {
            word(out, "sl", qRound(line * 240));
            word(out, "slmult", 1);
        } else {
            word(out, "sl", rule == int(LineSpacing::Exactly) ? -qRound(line) : qRound(line));
            word(out, "slmult", 0);
        }
    }
    auto flag = [&](const char *w, int property) {
        const bool on = f.boolProperty(property);
        if (on != base.boolProperty(property))
            on ? word(out, w) : word(out, w, 0);
    };
    flag("keepn", ModelProperty::KeepWithNext);
    flag("keep", ModelProperty::KeepLinesTogether);
    if ((f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) &&
        !(base.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        word(out, "pagebb");
    out->append(' ');
}

QByteArray RtfWriter::write()
{
    const StyleSheet &styles = m_doc.styles();
    QByteArray defaults;
    defaults += "{\\*\\defchp ";
    writeCharacterProperties(styles.defaultCharFormat(), QTextCharFormat(), &defaults);
    defaults += "}{\\*\\defpap ";
    writeParagraphProperties(styles.defaultBlockFormat(), QTextBlockFormat(), &defaults);
    defaults += "}";

    QHash<QString, int> styleNumbers;
    for (const Style &s : styles.styles())
        styleNumbers.insert(s.name, int(styleNumbers.size()));
    QByteArray sheet = "{\\stylesheet";
    for (const Style &s : styles.styles()) {
        const int n = styleNumbers.value(s.name);
        sheet += s.type == StyleType::Paragraph   ? "{"
                 : s.type == StyleType::Character ? "{\\*"
                                                  : "{\\*";
        word(&sheet,
             s.type == StyleType::Paragraph   ? "s"
             : s.type == StyleType::Character ? "cs"
                                              : "ts",
             n);
        if (styleNumbers.contains(s.basedOn))
            word(&sheet, "sbasedon", styleNumbers.value(s.basedOn));
        if (styleNumbers.contains(s.next))
            word(&sheet, "snext", styleNumbers.value(s.next));
        sheet += ' ';
        writeParagraphProperties(s.blockFormat, QTextBlockFormat(), &sheet);
        writeCharacterProperties(s.charFormat, QTextCharFormat(), &sheet);
        const QByteArray before = m_out;
        m_out.clear();
        writeText(s.name);
        sheet += m_out + ";}";
        m_out = before;
    }
    sheet += "}";

    for (const Bookmark &b : m_doc.bookmarks()) {
        const DocumentRange r = b.range.range();
        if (r.story != MainStoryId)
            continue;
        m_markers.append({r.start, false, b.name});
        m_markers.append({r.end(), true, b.name});
    }
    std::stable_sort(m_markers.begin(), m_markers.end(), [](const Marker &a, const Marker &b) {
        return a.position != b.position ? a.position < b.position : !a.end && b.end;
    });

    const QByteArray lists = listTables();
    // The body first: it finds the fonts and colours the tables list.
    m_out.reserve(m_doc.mainStory()->characterCount() * 2 + 4096);
    const SectionProperties first = m_doc.sectionProperties(0);
    word(&m_out, "paperw", first.pageWidth);
    word(&m_out, "paperh", first.pageHeight);
    word(&m_out, "margl", first.margins.left);
    word(&m_out, "margr", first.margins.right);
    word(&m_out, "margt", first.margins.top);
    word(&m_out, "margb", first.margins.bottom);
    word(&m_out, "deftab", m_doc.settings().defaultTabStop);
    if (m_doc.settings().evenAndOddHeaders)
        word(&m_out, "facingp");
    m_out += '\n';
    int section = 0;
    writeSection(first);
    const QTextFrame *root = m_doc.mainStory()->rootFrame();
    for (auto it = root->begin(); !it.atEnd();) {
        QTextTable *table = qobject_cast<QTextTable *>(it.currentFrame());
        const QTextBlock block = it.currentBlock();
        ++it;
        if (table) {
            writeTable(table);
            continue;
        }
        writeBlock(block, false);
        if (!it.atEnd())
            m_out += "\\par\n";
        if (block.blockFormat().hasProperty(ModelProperty::SectionBreak) &&
            section + 1 < m_doc.sectionCount()) {
            m_out += "\\sect";
            writeSection(m_doc.sectionProperties(++section));
        }
    }
    writeMarkers(INT_MAX);

    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        head += "{\\f" + QByteArray::number(i) + "\\fnil ";
        const QByteArray body = m_out;
        m_out.clear();
        writeText(m_fonts[i]);
        head += m_out + ";}";
        m_out = body;
    }
    head += "}\n{\\colortbl;";
    for (const QColor &c : std::as_const(m_colors))
        head += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                "\\blue" + QByteArray::number(c.blue()) + ';';
    head += "}\n" + defaults + '\n' + sheet + '\n' + lists;
    const DocumentProperties &p = m_doc.settings().properties;
    head += "{\\info";
    const std::pair<const char *, const QString *> info[] = {
        {"title", &p.title},       {"subject", &p.subject},     {"author", &p.creator},
        {"keywords", &p.keywords}, {"doccomm", &p.description}, {"operator", &p.lastModifiedBy}};
    for (const auto &[name, value] : info) {
        if (value->isEmpty())
            continue;
        const QByteArray body = m_out;
        m_out.clear();
        writeText(*value);
        head += "{\\" + QByteArray(name) + ' ' + m_out + '}';
        m_out = body;
    }
    head += "}\n";
    return head + m_out + "}\n";
}

QByteArray RtfWriter::listTables()
{
    const ListTable &lists = m_doc.lists();
    if (lists.abstracts().isEmpty())
        return QByteArray();
    QList<int> ids = lists.abstracts().keys();
    std::sort(ids.begin(), ids.end());
    const QByteArray body = m_out;
    m_out = "{\\*\\listtable";
    for (int id : std::as_const(ids)) {
        const AbstractList &list = lists.abstracts().value(id);
        m_out += "{\\list";
        word(&m_out, "listtemplateid", id);
        word(&m_out, list.multiLevel ? "listhybrid" : "listsimple");
        for (const ListLevel &l : list.levels) {
            m_out += "{\\listlevel";
            word(&m_out, "levelnfc", levelnfc(l.format));
            word(&m_out, "levelnfcn", levelnfc(l.format));
            const int jc = l.alignment & Qt::AlignHCenter ? 1
                           : l.alignment & Qt::AlignRight ? 2
                                                          : 0;
            word(&m_out, "leveljc", jc);
            word(&m_out, "leveljcn", jc);
            word(&m_out, "levelfollow",
                 l.suffix == QLatin1Char('\t')  ? 0
                 : l.suffix == QLatin1Char(' ') ? 1
                                                : 2);
            word(&m_out, "levelstartat", l.start);
            if (l.legal)
                word(&m_out, "levellegal", 1);
            // The text: its length, then level numbers as the bytes 0 to 8.
            QByteArray text;
            int length = 0;
            const QByteArray saved = m_out;
            for (qsizetype i = 0; i < l.text.size(); ++i, ++length) {
                const QChar c = l.text[i];
                if (c == u'%' && i + 1 < l.text.size() && l.text[i + 1] >= u'1' &&
                    l.text[i + 1] <= u'9') {
                    text += "\\'0" + QByteArray::number(l.text[++i].unicode() - u'1');
                } else {
                    m_out.clear();
                    writeText(QStringView(&c, 1));
                    text += m_out;
                }
            }
            m_out = saved;
            m_out += "{\\leveltext\\'" +
                     QByteArray::number(qMin(length, 255), 16).rightJustified(2, '0') + text +
                     ";}{\\levelnumbers;}";
            word(&m_out, "fi", -l.hanging);
            word(&m_out, "li", l.indent);
            word(&m_out, "lin", l.indent);
            const QStringList font = l.labelFormat.fontFamilies().toStringList();
            if (!font.isEmpty())
                word(&m_out, "f", fontIndex(font.first()));
            m_out += '}';
        }
        m_out += "{\\listname ;}";
        word(&m_out, "listid", id);
        m_out += '}';
    }
    m_out += "}{\\*\\listoverridetable";
    QList<int> instances = lists.instances().keys();
    std::sort(instances.begin(), instances.end());
    for (int id : std::as_const(instances)) {
        m_out += "{\\listoverride";
        word(&m_out, "listid", lists.instances().value(id).abstractId);
        word(&m_out, "listoverridecount", 0);
        word(&m_out, "ls", id);
        m_out += '}';
    }
    m_out += "}\n";
    const QByteArray tables = m_out;
    m_out = body;
    return tables;
}

void RtfWriter::writeSection(const SectionProperties &s)
{
    word(&m_out, "sectd");
    switch (s.breakType) {
    case SectionBreakType::Continuous:
        word(&m_out, "sbknone");
        break;
    case SectionBreakType::Column:
        word(&m_out, "sbkcol");
        break;
    case SectionBreakType::EvenPage:
        word(&m_out, "sbkeven");
        break;
    case SectionBreakType::OddPage:
        word(&m_out, "sbkodd");
        break;
    case SectionBreakType::NextPage:
        break;
    }
    word(&m_out, "pgwsxn", s.pageWidth);
    word(&m_out, "pghsxn", s.pageHeight);
    word(&m_out, "marglsxn", s.margins.left);
    word(&m_out, "margrsxn", s.margins.right);
    word(&m_out, "margtsxn", s.margins.top);
    word(&m_out, "margbsxn", s.margins.bottom);
    if (s.margins.gutter)
        word(&m_out, "guttersxn", s.margins.gutter);
    word(&m_out, "headery", s.headerDistance);
    word(&m_out, "footery", s.footerDistance);
    if (s.orientation == PageOrientation::Landscape)
        word(&m_out, "lndscpsxn");
    if (s.columns.count > 1) {
        word(&m_out, "cols", s.columns.count);
        word(&m_out, "colsx", s.columns.spacing);
    }
    if (s.lineNumbering.restart != LineNumberRestart::None) {
        word(&m_out, "linemod", s.lineNumbering.countBy);
        word(&m_out, "linex", s.lineNumbering.distance);
        word(&m_out, "linestarts", s.lineNumbering.start);
        word(&m_out, s.lineNumbering.restart == LineNumberRestart::EachSection  ? "linerestart"
                     : s.lineNumbering.restart == LineNumberRestart::Continuous ? "linecont"
                                                                                : "lineppage");
    }
    if (s.differentFirstPage)
        word(&m_out, "titlepg");
    if (s.pageNumberStart >= 0) {
        word(&m_out, "pgnstarts", s.pageNumberStart);
        word(&m_out, "pgnrestart");
    }
    m_out += '\n';
}

void RtfWriter::writeMarkers(int position)
{
    for (; m_nextMarker < m_markers.size() && m_markers[m_nextMarker].position <= position;
         ++m_nextMarker) {
        const Marker &m = m_markers[m_nextMarker];
        m_out += m.end ? "{\\*\\bkmkend " : "{\\*\\bkmkstart ";
        writeText(m.name);
        m_out += '}';
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, bool inTable)
{
    const QTextBlockFormat f = block.blockFormat();
    const QString style = f.stringProperty(ModelProperty::ParagraphStyle);
    word(&m_out, "pard");
    if (inTable)
        word(&m_out, "intbl");
    int styleNumber = 0;
    for (const Style &s : m_doc.styles().styles()) {
        if (s.name == style)
            break;
        ++styleNumber;
    }
    if (styleNumber < m_doc.styles().styles().size())
        word(&m_out, "s", styleNumber);
    const int list = f.intProperty(ModelProperty::ListInstance);
    if (list > 0 && m_doc.lists().instance(list)) {
        word(&m_out, "ls", list);
        word(&m_out, "ilvl", f.intProperty(ModelProperty::ListLevel));
    }
    writeParagraphProperties(f, m_doc.styles().defaultBlockFormat(), &m_out);
    if (f.boolProperty(ModelProperty::ColumnBreakBefore))
        m_out += "\\column ";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QString text = fragment.text();
        const int start = fragment.position();
        qsizetype done = 0;
        while (done < text.size()) {
            writeMarkers(start + int(done));
            qsizetype length = text.size() - done;
            if (m_nextMarker < m_markers.size())
                length = qMin<qsizetype>(length, m_markers[m_nextMarker].position - start - done);
            writeRun(QStringView(text).mid(done, length), fragment.charFormat());
            done += length;
        }
    }
    closeField();
    writeMarkers(block.position() + block.length() - 1);
}

void RtfWriter::closeField()
{
    if (m_field == 0 && m_href.isEmpty())
        return;
    m_out += "}}";
    m_field = 0;
    m_href.clear();
}

void RtfWriter::writeRun(QStringView text, const QTextCharFormat &format)
{
    int fieldId = format.intProperty(ModelProperty::FieldId);
    const Field *field = fieldId ? m_doc.field(fieldId) : nullptr;
    if (!field)
        fieldId = 0;
    // A link outside a field goes out as the HYPERLINK field RTF has for it.
    const QString href = field ? QString() : format.anchorHref();
    if (fieldId != m_field || href != m_href) {
        closeField();
        if (field || !href.isEmpty()) {
            m_out += "{\\field";
            if (field && field->locked)
                m_out += "{\\fldlock}";
            m_out += "{\\*\\fldinst {";
            writeText(field ? field->instruction
                      : href.startsWith(u'#')
                          ? QStringLiteral("HYPERLINK \\l \"%1\"").arg(href.mid(1))
                          : QStringLiteral("HYPERLINK \"%1\"").arg(href));
            m_out += "}}{\\fldrslt ";
            m_field = fieldId;
            m_href = href;
        }
    }
    if (format.objectType() == QTextFormat::ImageObject) {
        const QTextImageFormat image = format.toImageFormat();
        const QString id = format.stringProperty(ModelProperty::ImageId);
        writePicture(id.isEmpty() ? image.name() : id, qRound(image.width()),
                     qRound(image.height()));
        return;
    }
    if (format.objectType() == FloatingObjectTextFormat) {
        const FloatingObject *o =
            m_doc.floatingObject(format.intProperty(ModelProperty::FloatingObjectId));
        if (o && o->kind == FloatingObject::Kind::Picture)
            writePicture(o->imageId, o->size.width(), o->size.height());
        return;
    }
    // \plain first: the run states everything it has beyond the defaults.
    m_out += "{\\plain";
    const QString charStyle = format.stringProperty(ModelProperty::CharacterStyle);
    int n = 0;
    for (const Style &s : m_doc.styles().styles()) {
        if (s.name == charStyle && !charStyle.isEmpty()) {
            word(&m_out, "cs", n);
            break;
        }
        ++n;
    }
    writeCharacterProperties(format, m_doc.styles().defaultCharFormat(), &m_out);
    writeText(text);
    m_out += '}';
}

void RtfWriter::writePicture(const QString &imageId, int width, int height)
{
    if (!m_doc.images().contains(imageId))
        return;
    ImageStore::Entry e = m_doc.images().entry(imageId);
    const QSize pixels = m_doc.images().pixelSize(imageId);
    const char *blip = e.suffix == u"png"                            ? "pngblip"
                       : (e.suffix == u"jpeg" || e.suffix == u"jpg") ? "jpegblip"
                       : e.suffix == u"emf"                          ? "emfblip"
                       : e.suffix == u"wmf"                          ? "wmetafile8"
                                                                     : nullptr;
    if (!blip) {
        // Formats RTF has no name for go out as PNG.
        const QImage image = m_doc.images().image(imageId);
        if (image.isNull())
            return;
        e.bytes.clear();
        QBuffer buffer(&e.bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        blip = "pngblip";
    }
    m_out += "{\\pict";
    word(&m_out, blip);
    word(&m_out, "picw", pixels.width());
    word(&m_out, "pich", pixels.height());
    word(&m_out, "picwgoal", width);
    word(&m_out, "pichgoal", height);
    m_out += '\n';
    const QByteArray hex = e.bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        m_out += hex.mid(i, 128) + '\n';
    m_out += '}';
}

void RtfWriter::writeText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            m_out += '\\';
            m_out += char(u);
            break;
        case u'\t':
            m_out += "\\tab ";
            break;
        case 0x2028:
            m_out += "\\line ";
            break;
        case 0x00A0:
            m_out += "\\~";
            break;
        case 0x00AD:
            m_out += "\\-";
            break;
        case 0x2011:
            m_out += "\\_";
            break;
        case 0xFFFC:
            break;
        default:
            if (u < 0x20)
                break;
            if (u < 0x80)
                m_out += char(u);
            else
                m_out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

void RtfWriter::writeTable(QTextTable *table)
{
    const QTextTableFormat tf = table->format();
    const QList<QTextLength> widths = tf.columnWidthConstraints();
    const int fallback =
        qMax(1, m_doc.sectionProperties(0).textWidth() / qMax(1, table->columns()));
    const QVariantList heights = tf.property(ModelProperty::TableRowHeights).toList();
    const QVariantList keep = tf.property(ModelProperty::TableRowCantSplit).toList();
    const int headerRows = tf.intProperty(ModelProperty::TableHeaderRows);
    for (int r = 0; r < table->rows(); ++r) {
        m_out += "\\trowd\\trgaph108\\trleft0";
        if (heights.value(r).toInt() != 0)
            word(&m_out, "trrh", heights.value(r).toInt());
        if (r < headerRows)
            word(&m_out, "trhdr");
        if (keep.value(r).toBool())
            word(&m_out, "trkeep");
        int right = 0;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            if (cell.row() < r)
                word(&m_out, "clvmrg");
            else if (cell.rowSpan() > 1)
                word(&m_out, "clvmgf");
            if (cell.column() < c)
                word(&m_out, "clmrg");
            else if (cell.columnSpan() > 1)
                word(&m_out, "clmgf");
            if (cf.verticalAlignment() == QTextCharFormat::AlignMiddle)
                word(&m_out, "clvertalc");
            else if (cf.verticalAlignment() == QTextCharFormat::AlignBottom)
                word(&m_out, "clvertalb");
            const struct
            {
                const char *name;
                qreal width;
                QBrush brush;
            } edges[] = {{"clbrdrt", cf.topBorder(), cf.topBorderBrush()},
                         {"clbrdrl", cf.leftBorder(), cf.leftBorderBrush()},
                         {"clbrdrb", cf.bottomBorder(), cf.bottomBorderBrush()},
                         {"clbrdrr", cf.rightBorder(), cf.rightBorderBrush()}};
            for (const auto &e : edges) {
                word(&m_out, e.name);
                if (e.width <= 0) {
                    word(&m_out, "brdrnone");
                    continue;
                }
                word(&m_out, "brdrs");
                word(&m_out, "brdrw", qRound(e.width));
                if (e.brush.style() != Qt::NoBrush)
                    word(&m_out, "brdrcf", colorIndex(e.brush.color()));
            }
            if (cf.background().style() != Qt::NoBrush)
                word(&m_out, "clcbpat", colorIndex(cf.background().color()));
            const QTextLength l = widths.value(c);
            right += l.type() == QTextLength::FixedLength && l.rawValue() > 0 ? qRound(l.rawValue())
                                                                              : fallback;
            word(&m_out, "cellx", right);
        }
        m_out += '\n';
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                m_out += "\\pard\\intbl\\cell\n";
                continue;
            }
            // Nested tables come out as the outer cell's paragraphs.
            QTextBlock b = m_doc.mainStory()->findBlock(cell.firstPosition());
            while (b.isValid()) {
                writeBlock(b, true);
                const QTextBlock next = b.next();
                if (!next.isValid() || next.position() > cell.lastPosition())
                    break;
                m_out += "\\par\n";
                b = next;
            }
            m_out += "\\cell\n";
        }
        m_out += "\\row\n";
    }
}

} // namespace formats
