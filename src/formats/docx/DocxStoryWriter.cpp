#include "DocxStoryWriter.h"

#include "DocxPropertiesWriter.h"
#include "DocxWriter.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <QXmlStreamWriter>

#include <algorithm>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

// DrawingML lengths are EMU: 635 per twip.
static QString emu(qint64 twips)
{
    return QString::number(twips * 635);
}

static QString number(qint64 value)
{
    return QString::number(value);
}

DocxStoryWriter::DocxStoryWriter(DocxWriter &writer, QXmlStreamWriter &xml, const QString &part,
                                 int storyId, bool markers)
    : m_writer(writer), m_w(xml), m_part(part), m_storyId(storyId), m_withMarkers(markers)
{
}

void DocxStoryWriter::writeNamespaces(QXmlStreamWriter &w)
{
    static const struct
    {
        const char16_t *prefix, *uri;
    } namespaces[] = {
        {u"w", u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
        {u"r", u"http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
        {u"wp", u"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
        {u"a", u"http://schemas.openxmlformats.org/drawingml/2006/main"},
        {u"pic", u"http://schemas.openxmlformats.org/drawingml/2006/picture"},
        {u"wps", u"http://schemas.microsoft.com/office/word/2010/wordprocessingShape"},
        {u"mc", u"http://schemas.openxmlformats.org/markup-compatibility/2006"},
        {u"v", u"urn:schemas-microsoft-com:vml"},
    };
    for (const auto &n : namespaces)
        w.writeNamespace(QString::fromUtf16(n.uri), QString::fromUtf16(n.prefix));
}

void DocxStoryWriter::write()
{
    collectMarkers();
    writeItems(m_writer.document().story(m_storyId)->rootFrame()->begin());
    writeMarkers(INT_MAX);
}

void DocxStoryWriter::collectMarkers()
{
    if (!m_withMarkers)
        return;
    const RichEditDocument &doc = m_writer.document();
    for (const Bookmark &b : doc.bookmarks()) {
        const DocumentRange r = b.range.range();
        if (r.story != m_storyId)
            continue;
        const QString id = number(m_writer.nextBookmarkId());
        m_markers.append({r.start, false, false, id, b.name, QString()});
        m_markers.append({r.end(), true, false, id, b.name, QString()});
    }
    for (const PermissionRange &p : doc.permissions()) {
        const DocumentRange r = p.range.range();
        if (r.story != m_storyId)
            continue;
        m_markers.append({r.start, false, true, p.id, p.editor, p.group});
        m_markers.append({r.end(), true, true, p.id, p.editor, p.group});
    }
    // Starts before ends at one place, so empty ranges stay well formed.
    std::stable_sort(m_markers.begin(), m_markers.end(), [](const Marker &a, const Marker &b) {
        return a.position != b.position ? a.position < b.position : !a.end && b.end;
    });
}

void DocxStoryWriter::writeMarkers(int position)
{
    for (; m_nextMarker < m_markers.size() && m_markers[m_nextMarker].position <= position;
         ++m_nextMarker) {
        const Marker &m = m_markers[m_nextMarker];
        if (m.permission) {
            m_w.writeEmptyElement(m.end ? u"w:permEnd"_s : u"w:permStart"_s);
            m_w.writeAttribute(u"w:id"_s, m.id);
            if (!m.end && !m.name.isEmpty())
                m_w.writeAttribute(u"w:ed"_s, m.name);
            if (!m.end && !m.group.isEmpty())
                m_w.writeAttribute(u"w:edGrp"_s, m.group);
        } else {
            m_w.writeEmptyElement(m.end ? u"w:bookmarkEnd"_s : u"w:bookmarkStart"_s);
            m_w.writeAttribute(u"w:id"_s, m.id);
            if (!m.end)
                m_w.writeAttribute(u"w:name"_s, m.name);
        }
    }
}

void DocxStoryWriter::writeItems(QTextFrame::iterator it)
{
    while (!it.atEnd()) {
        QTextFrame *frame = it.currentFrame();
        const QTextBlock block = it.currentBlock();
        ++it;
        if (auto *table = qobject_cast<QTextTable *>(frame))
            writeTable(table);
        else if (frame)
            writeItems(frame->begin());
        else
            writeParagraph(block, !it.atEnd() && !it.currentFrame());
    }
}

// ---- paragraphs and runs

void DocxStoryWriter::breakRun(const QString &type)
{
    m_w.writeStartElement(u"w:r"_s);
    m_w.writeEmptyElement(u"w:br"_s);
    m_w.writeAttribute(u"w:type"_s, type);
    m_w.writeEndElement();
}

void DocxStoryWriter::writeParagraph(const QTextBlock &block, bool nextIsParagraph)
{
    const RichEditDocument &doc = m_writer.document();
    writeMarkers(block.position() - 1);
    QTextBlockFormat f = block.blockFormat();
    QString style = f.stringProperty(ModelProperty::ParagraphStyle);
    if (!doc.styles().find(style))
        style = StyleSheet::normalStyleName();
    QTextBlockFormat base = doc.styles().resolvedBlockFormat(style);

    DocxPropertiesWriter::Numbering numbering;
    const int list = f.intProperty(ModelProperty::ListInstance);
    const int level = f.intProperty(ModelProperty::ListLevel);
    if (f.hasProperty(ModelProperty::ListInstance) &&
        (list != base.intProperty(ModelProperty::ListInstance) ||
         (list > 0 && level != base.intProperty(ModelProperty::ListLevel)))) {
        numbering = {true, list, level};
        // A paragraph's own list brings that level's indents.
        if (list > 0 && doc.lists().instance(list)) {
            const ListLevel l = doc.lists().level(list, level);
            base.setLeftMargin(l.indent);
            base.setTextIndent(-l.hanging);
        }
    }
    // A direct page or column break is a break character, as Word makes it.
    const bool pageBreak = (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) &&
                           !(base.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    if (pageBreak)
        f.setPageBreakPolicy(base.pageBreakPolicy());
    const bool columnBreak = f.boolProperty(ModelProperty::ColumnBreakBefore);
    int outline = -1;
    if (f.hasProperty(ModelProperty::OutlineLevel) &&
        f.intProperty(ModelProperty::OutlineLevel) != base.intProperty(ModelProperty::OutlineLevel))
        outline = f.intProperty(ModelProperty::OutlineLevel);
    std::function<void()> section;
    if (m_storyId == MainStoryId && f.hasProperty(ModelProperty::SectionBreak)) {
        const int index = m_section++;
        section = [this, index] { writeSection(m_writer.document().sectionProperties(index)); };
    }

    m_w.writeStartElement(u"w:p"_s);
    DocxPropertiesWriter::writeParagraph(
        m_w, f, base, style == StyleSheet::normalStyleName() ? QString() : m_writer.styleId(style),
        numbering, outline, section);
    if (pageBreak)
        breakRun(u"page"_s);
    if (columnBreak)
        breakRun(u"column"_s);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QString text = fragment.text();
        const QTextCharFormat format = fragment.charFormat();
        const int start = fragment.position();
        qsizetype done = 0;
        while (done < text.size()) {
            writeMarkers(start + int(done));
            qsizetype length = text.size() - done;
            if (m_nextMarker < m_markers.size())
                length = qMin<qsizetype>(length, m_markers[m_nextMarker].position - start - done);
            writePiece(QStringView(text).mid(done, length), format, style);
            done += length;
        }
    }
    writeMarkers(block.position() + block.length() - 1);
    if (m_fieldSimple || (m_fieldInHyperlink && m_inHyperlink))
        closeField();
    closeHyperlink();
    // A field whose result goes on in the next paragraph (a table of
    // contents) ends there.
    if (m_field != 0) {
        const QTextBlock next = block.next();
        const bool continues =
            nextIsParagraph && next.isValid() && next.begin() != next.end() &&
            next.begin().fragment().charFormat().intProperty(ModelProperty::FieldId) == m_field;
        if (!continues)
            closeField();
    }
    m_w.writeEndElement();
}

void DocxStoryWriter::closeHyperlink()
{
    if (!m_inHyperlink)
        return;
    if (m_fieldInHyperlink)
        closeField();
    m_w.writeEndElement();
    m_inHyperlink = false;
    m_href.clear();
}

void DocxStoryWriter::closeField()
{
    if (m_field == 0)
        return;
    if (m_fieldSimple) {
        m_w.writeEndElement();
    } else {
        m_w.writeStartElement(u"w:r"_s);
        m_w.writeEmptyElement(u"w:fldChar"_s);
        m_w.writeAttribute(u"w:fldCharType"_s, u"end"_s);
        m_w.writeEndElement();
    }
    m_field = 0;
    m_fieldSimple = false;
    m_fieldInHyperlink = false;
}

// Word refuses a package whose link targets are no valid URIs ("a b").
static QString linkTarget(const QString &href)
{
    const QUrl url(href);
    return url.isValid()
               ? QString::fromLatin1(url.toEncoded())
               : QString::fromLatin1(QUrl::toPercentEncoding(href, ":/?#[]@!$&'()*+,;=%"));
}

void DocxStoryWriter::writePiece(QStringView text, const QTextCharFormat &format,
                                 const QString &paragraphStyle)
{
    const RichEditDocument &doc = m_writer.document();
    int fieldId = format.intProperty(ModelProperty::FieldId);
    const Field *field = fieldId ? doc.field(fieldId) : nullptr;
    if (!field)
        fieldId = 0;
    // Text of a HYPERLINK field links through the field itself.
    QString href = format.anchorHref();
    if (field && field->type == FieldType::Hyperlink)
        href.clear();
    if (href != m_href) {
        closeField();
        closeHyperlink();
        if (!href.isEmpty()) {
            m_w.writeStartElement(u"w:hyperlink"_s);
            if (href.startsWith(u'#'))
                m_w.writeAttribute(u"w:anchor"_s, href.mid(1));
            else
                m_w.writeAttribute(u"r:id"_s, m_writer.relationship(m_part, u"hyperlink"_s,
                                                                    linkTarget(href), true));
            m_inHyperlink = true;
            m_href = href;
        }
    }
    if (fieldId != m_field) {
        closeField();
        if (field) {
            m_field = fieldId;
            m_fieldSimple = field->simple;
            m_fieldInHyperlink = m_inHyperlink;
            if (field->simple) {
                m_w.writeStartElement(u"w:fldSimple"_s);
                m_w.writeAttribute(u"w:instr"_s, field->instruction);
                if (field->locked)
                    m_w.writeAttribute(u"w:fldLock"_s, u"1"_s);
            } else {
                auto fieldChar = [this](const QString &type, bool lock) {
                    m_w.writeStartElement(u"w:r"_s);
                    m_w.writeEmptyElement(u"w:fldChar"_s);
                    m_w.writeAttribute(u"w:fldCharType"_s, type);
                    if (lock)
                        m_w.writeAttribute(u"w:fldLock"_s, u"1"_s);
                    m_w.writeEndElement();
                };
                fieldChar(u"begin"_s, field->locked);
                m_w.writeStartElement(u"w:r"_s);
                m_w.writeStartElement(u"w:instrText"_s);
                m_w.writeAttribute(u"xml:space"_s, u"preserve"_s);
                m_w.writeCharacters(field->instruction);
                m_w.writeEndElement();
                m_w.writeEndElement();
                fieldChar(u"separate"_s, false);
            }
        }
    }

    m_w.writeStartElement(u"w:r"_s);
    const QString charStyle = format.stringProperty(ModelProperty::CharacterStyle);
    const bool knownStyle = !charStyle.isEmpty() && doc.styles().find(charStyle);
    DocxPropertiesWriter::writeRun(
        m_w, format, m_writer.runBase(paragraphStyle, knownStyle ? charStyle : QString()),
        knownStyle ? m_writer.styleId(charStyle) : QString());
    qsizetype from = 0;
    bool textOpen = false;
    auto flush = [&](qsizetype to) {
        if (to > from)
            writeText(text.mid(from, to - from), &textOpen);
        if (textOpen) {
            m_w.writeEndElement();
            textOpen = false;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool special = c < 0x20 || c == 0x2028 || c == 0x2011 || c == 0x00AD || c == 0xFFFC ||
                             c == 0xFFFE || c == 0xFFFF || (c >= 0xFDD0 && c <= 0xFDEF);
        if (!special)
            continue;
        flush(i);
        from = i + 1;
        switch (c) {
        case u'\t':
            m_w.writeEmptyElement(u"w:tab"_s);
            break;
        case 0x2028:
        case u'\n':
            m_w.writeEmptyElement(u"w:br"_s);
            break;
        case 0x2011:
            m_w.writeEmptyElement(u"w:noBreakHyphen"_s);
            break;
        case 0x00AD:
            m_w.writeEmptyElement(u"w:softHyphen"_s);
            break;
        case 0xFFFC:
            writeObject(format);
            break;
        default:
            break; // not allowed in XML
        }
    }
    flush(text.size());
    m_w.writeEndElement();
}

void DocxStoryWriter::writeText(QStringView text, bool *open)
{
    // Surrogates must come in pairs; a lone one would make the part invalid.
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += text[++i];
        } else if (!c.isSurrogate()) {
            clean += c;
        }
    }
    if (clean.isEmpty())
        return;
    if (!*open) {
        m_w.writeStartElement(u"w:t"_s);
        if (clean.front().isSpace() || clean.back().isSpace() || clean.contains(u"  "_s))
            m_w.writeAttribute(u"xml:space"_s, u"preserve"_s);
        *open = true;
    }
    m_w.writeCharacters(clean);
}

// ---- pictures and anchored objects

void DocxStoryWriter::writeObject(const QTextCharFormat &format)
{
    if (format.objectType() == QTextFormat::ImageObject) {
        writeInlinePicture(format);
    } else if (format.objectType() == FloatingObjectTextFormat) {
        const FloatingObject *object =
            m_writer.document().floatingObject(format.intProperty(ModelProperty::FloatingObjectId));
        if (object)
            writeFloatingObject(*object);
    }
}

void DocxStoryWriter::writePictureGraphic(const QString &relationship, QSize size, int id)
{
    m_w.writeStartElement(u"a:graphic"_s);
    m_w.writeStartElement(u"a:graphicData"_s);
    m_w.writeAttribute(u"uri"_s, u"http://schemas.openxmlformats.org/drawingml/2006/picture"_s);
    m_w.writeStartElement(u"pic:pic"_s);
    m_w.writeStartElement(u"pic:nvPicPr"_s);
    m_w.writeEmptyElement(u"pic:cNvPr"_s);
    m_w.writeAttribute(u"id"_s, number(id));
    m_w.writeAttribute(u"name"_s, u"Picture "_s + number(id));
    m_w.writeEmptyElement(u"pic:cNvPicPr"_s);
    m_w.writeEndElement();
    m_w.writeStartElement(u"pic:blipFill"_s);
    m_w.writeEmptyElement(u"a:blip"_s);
    m_w.writeAttribute(u"r:embed"_s, relationship);
    m_w.writeStartElement(u"a:stretch"_s);
    m_w.writeEmptyElement(u"a:fillRect"_s);
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeStartElement(u"pic:spPr"_s);
    m_w.writeStartElement(u"a:xfrm"_s);
    m_w.writeEmptyElement(u"a:off"_s);
    m_w.writeAttribute(u"x"_s, u"0"_s);
    m_w.writeAttribute(u"y"_s, u"0"_s);
    m_w.writeEmptyElement(u"a:ext"_s);
    m_w.writeAttribute(u"cx"_s, emu(size.width()));
    m_w.writeAttribute(u"cy"_s, emu(size.height()));
    m_w.writeEndElement();
    m_w.writeStartElement(u"a:prstGeom"_s);
    m_w.writeAttribute(u"prst"_s, u"rect"_s);
    m_w.writeEmptyElement(u"a:avLst"_s);
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
}

static void docPr(QXmlStreamWriter &w, int id, const QString &name, const QString &description)
{
    w.writeEmptyElement(u"wp:docPr"_s);
    w.writeAttribute(u"id"_s, number(id));
    w.writeAttribute(u"name"_s, name.isEmpty() ? u"Object "_s + number(id) : name);
    if (!description.isEmpty())
        w.writeAttribute(u"descr"_s, description);
}

void DocxStoryWriter::writeInlinePicture(const QTextCharFormat &format)
{
    const QTextImageFormat image = format.toImageFormat();
    QString imageId = format.stringProperty(ModelProperty::ImageId);
    if (imageId.isEmpty())
        imageId = image.name();
    const QString rel = m_writer.imageRelationship(m_part, imageId);
    if (rel.isEmpty())
        return;
    const QSize size(qRound(image.width()), qRound(image.height()));
    const int id = m_writer.nextDrawingId();
    m_w.writeStartElement(u"w:drawing"_s);
    m_w.writeStartElement(u"wp:inline"_s);
    for (const QString &d : {u"distT"_s, u"distB"_s, u"distL"_s, u"distR"_s})
        m_w.writeAttribute(d, u"0"_s);
    m_w.writeEmptyElement(u"wp:extent"_s);
    m_w.writeAttribute(u"cx"_s, emu(size.width()));
    m_w.writeAttribute(u"cy"_s, emu(size.height()));
    docPr(m_w, id, QString(), QString());
    m_w.writeStartElement(u"wp:cNvGraphicFramePr"_s);
    m_w.writeEmptyElement(u"a:graphicFrameLocks"_s);
    m_w.writeAttribute(u"noChangeAspect"_s, u"1"_s);
    m_w.writeEndElement();
    writePictureGraphic(rel, size, id);
    m_w.writeEndElement();
    m_w.writeEndElement();
}

void DocxStoryWriter::writeFloatingObject(const FloatingObject &object)
{
    if (object.kind == FloatingObject::Kind::Picture) {
        if (m_writer.imageRelationship(m_part, object.imageId).isEmpty())
            return;
        m_w.writeStartElement(u"w:drawing"_s);
        writeAnchor(object, false);
        m_w.writeEndElement();
        return;
    }
    if (!m_writer.document().story(object.textBoxStory))
        return;
    // Word 2010 and later read the shape; older readers the VML copy.
    m_w.writeStartElement(u"mc:AlternateContent"_s);
    m_w.writeStartElement(u"mc:Choice"_s);
    m_w.writeAttribute(u"Requires"_s, u"wps"_s);
    m_w.writeStartElement(u"w:drawing"_s);
    writeAnchor(object, true);
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeStartElement(u"mc:Fallback"_s);
    writeVmlTextBox(object);
    m_w.writeEndElement();
    m_w.writeEndElement();
}

static QString horizontalFrom(HorizontalRelativeTo r)
{
    switch (r) {
    case HorizontalRelativeTo::Margin:
        return u"margin"_s;
    case HorizontalRelativeTo::Page:
        return u"page"_s;
    case HorizontalRelativeTo::Column:
        return u"column"_s;
    case HorizontalRelativeTo::Character:
        return u"character"_s;
    }
    return u"column"_s;
}

static QString verticalFrom(VerticalRelativeTo r)
{
    switch (r) {
    case VerticalRelativeTo::Margin:
        return u"margin"_s;
    case VerticalRelativeTo::Page:
        return u"page"_s;
    case VerticalRelativeTo::Paragraph:
        return u"paragraph"_s;
    case VerticalRelativeTo::Line:
        return u"line"_s;
    }
    return u"paragraph"_s;
}

static QString horizontalAlign(HorizontalAlignment a)
{
    switch (a) {
    case HorizontalAlignment::Center:
        return u"center"_s;
    case HorizontalAlignment::Right:
        return u"right"_s;
    case HorizontalAlignment::Inside:
        return u"inside"_s;
    case HorizontalAlignment::Outside:
        return u"outside"_s;
    default:
        return u"left"_s;
    }
}

static QString verticalAlign(VerticalAlignment a)
{
    switch (a) {
    case VerticalAlignment::Center:
        return u"center"_s;
    case VerticalAlignment::Bottom:
        return u"bottom"_s;
    case VerticalAlignment::Inside:
        return u"inside"_s;
    case VerticalAlignment::Outside:
        return u"outside"_s;
    default:
        return u"top"_s;
    }
}

void DocxStoryWriter::writeAnchor(const FloatingObject &o, bool textBox)
{
    const int id = m_writer.nextDrawingId();
    m_w.writeStartElement(u"wp:anchor"_s);
    m_w.writeAttribute(u"distT"_s, emu(o.distanceTop));
    m_w.writeAttribute(u"distB"_s, emu(o.distanceBottom));
    m_w.writeAttribute(u"distL"_s, emu(o.distanceLeft));
    m_w.writeAttribute(u"distR"_s, emu(o.distanceRight));
    m_w.writeAttribute(u"simplePos"_s, u"0"_s);
    m_w.writeAttribute(u"relativeHeight"_s, number(qMax(0, o.zOrder)));
    m_w.writeAttribute(u"behindDoc"_s, o.wrap == WrapType::BehindText ? u"1"_s : u"0"_s);
    m_w.writeAttribute(u"locked"_s, o.lockAnchor ? u"1"_s : u"0"_s);
    m_w.writeAttribute(u"layoutInCell"_s, u"1"_s);
    m_w.writeAttribute(u"allowOverlap"_s, o.allowOverlap ? u"1"_s : u"0"_s);
    m_w.writeEmptyElement(u"wp:simplePos"_s);
    m_w.writeAttribute(u"x"_s, u"0"_s);
    m_w.writeAttribute(u"y"_s, u"0"_s);

    m_w.writeStartElement(u"wp:positionH"_s);
    m_w.writeAttribute(u"relativeFrom"_s, horizontalFrom(o.horizontalRelativeTo));
    if (o.horizontalAlignment == HorizontalAlignment::None)
        m_w.writeTextElement(u"wp:posOffset"_s, emu(o.horizontalOffset));
    else
        m_w.writeTextElement(u"wp:align"_s, horizontalAlign(o.horizontalAlignment));
    m_w.writeEndElement();
    m_w.writeStartElement(u"wp:positionV"_s);
    m_w.writeAttribute(u"relativeFrom"_s, verticalFrom(o.verticalRelativeTo));
    if (o.verticalAlignment == VerticalAlignment::None)
        m_w.writeTextElement(u"wp:posOffset"_s, emu(o.verticalOffset));
    else
        m_w.writeTextElement(u"wp:align"_s, verticalAlign(o.verticalAlignment));
    m_w.writeEndElement();

    m_w.writeEmptyElement(u"wp:extent"_s);
    m_w.writeAttribute(u"cx"_s, emu(o.size.width()));
    m_w.writeAttribute(u"cy"_s, emu(o.size.height()));
    m_w.writeEmptyElement(u"wp:effectExtent"_s);
    for (const QString &e : {u"l"_s, u"t"_s, u"r"_s, u"b"_s})
        m_w.writeAttribute(e, u"0"_s);

    const QString side = o.wrapSide == WrapSide::Left      ? u"left"_s
                         : o.wrapSide == WrapSide::Right   ? u"right"_s
                         : o.wrapSide == WrapSide::Largest ? u"largest"_s
                                                           : u"bothSides"_s;
    switch (o.wrap) {
    case WrapType::Square:
        m_w.writeEmptyElement(u"wp:wrapSquare"_s);
        m_w.writeAttribute(u"wrapText"_s, side);
        break;
    case WrapType::Tight:
    case WrapType::Through: {
        // These wraps need an outline; the object's rectangle, in the
        // 21600-unit square the format uses.
        m_w.writeStartElement(o.wrap == WrapType::Tight ? u"wp:wrapTight"_s : u"wp:wrapThrough"_s);
        m_w.writeAttribute(u"wrapText"_s, side);
        m_w.writeStartElement(u"wp:wrapPolygon"_s);
        m_w.writeAttribute(u"edited"_s, u"0"_s);
        static const int corners[][2] = {{0, 0}, {0, 21600}, {21600, 21600}, {21600, 0}, {0, 0}};
        bool first = true;
        for (const auto &p : corners) {
            m_w.writeEmptyElement(first ? u"wp:start"_s : u"wp:lineTo"_s);
            m_w.writeAttribute(u"x"_s, number(p[0]));
            m_w.writeAttribute(u"y"_s, number(p[1]));
            first = false;
        }
        m_w.writeEndElement();
        m_w.writeEndElement();
        break;
    }
    case WrapType::TopAndBottom:
        m_w.writeEmptyElement(u"wp:wrapTopAndBottom"_s);
        break;
    case WrapType::BehindText:
    case WrapType::InFrontOfText:
        m_w.writeEmptyElement(u"wp:wrapNone"_s);
        break;
    }
    docPr(m_w, id, o.name, o.description);
    m_w.writeEmptyElement(u"wp:cNvGraphicFramePr"_s);

    if (!textBox) {
        writePictureGraphic(m_writer.imageRelationship(m_part, o.imageId), o.size, id);
    } else {
        m_w.writeStartElement(u"a:graphic"_s);
        m_w.writeStartElement(u"a:graphicData"_s);
        m_w.writeAttribute(u"uri"_s,
                           u"http://schemas.microsoft.com/office/word/2010/wordprocessingShape"_s);
        m_w.writeStartElement(u"wps:wsp"_s);
        m_w.writeEmptyElement(u"wps:cNvSpPr"_s);
        m_w.writeAttribute(u"txBox"_s, u"1"_s);
        m_w.writeStartElement(u"wps:spPr"_s);
        m_w.writeStartElement(u"a:xfrm"_s);
        m_w.writeEmptyElement(u"a:off"_s);
        m_w.writeAttribute(u"x"_s, u"0"_s);
        m_w.writeAttribute(u"y"_s, u"0"_s);
        m_w.writeEmptyElement(u"a:ext"_s);
        m_w.writeAttribute(u"cx"_s, emu(o.size.width()));
        m_w.writeAttribute(u"cy"_s, emu(o.size.height()));
        m_w.writeEndElement();
        m_w.writeStartElement(u"a:prstGeom"_s);
        m_w.writeAttribute(u"prst"_s, u"rect"_s);
        m_w.writeEmptyElement(u"a:avLst"_s);
        m_w.writeEndElement();
        // The model keeps no fill or outline; the box shows as our view draws it.
        m_w.writeEmptyElement(u"a:noFill"_s);
        m_w.writeStartElement(u"a:ln"_s);
        m_w.writeEmptyElement(u"a:noFill"_s);
        m_w.writeEndElement();
        m_w.writeEndElement();
        m_w.writeStartElement(u"wps:txbx"_s);
        m_w.writeStartElement(u"w:txbxContent"_s);
        DocxStoryWriter(m_writer, m_w, m_part, o.textBoxStory).write();
        m_w.writeEndElement();
        m_w.writeEndElement();
        m_w.writeEmptyElement(u"wps:bodyPr"_s);
        m_w.writeAttribute(u"rot"_s, u"0"_s);
        m_w.writeAttribute(u"vert"_s, u"horz"_s);
        m_w.writeAttribute(u"wrap"_s, u"square"_s);
        m_w.writeAttribute(u"anchor"_s, u"t"_s);
        m_w.writeEndElement();
        m_w.writeEndElement();
        m_w.writeEndElement();
    }
    m_w.writeEndElement();
}

void DocxStoryWriter::writeVmlTextBox(const FloatingObject &o)
{
    auto pt = [](int twips) { return QString::number(twips / 20.0) + u"pt"_s; };
    QString style = u"position:absolute;margin-left:"_s + pt(o.horizontalOffset) +
                    u";margin-top:"_s + pt(o.verticalOffset) + u";width:"_s + pt(o.size.width()) +
                    u";height:"_s + pt(o.size.height()) + u";z-index:"_s +
                    number(qMax(0, o.zOrder)) + u";mso-position-horizontal-relative:"_s +
                    horizontalFrom(o.horizontalRelativeTo) + u";mso-position-vertical-relative:"_s +
                    verticalFrom(o.verticalRelativeTo);
    if (o.horizontalAlignment != HorizontalAlignment::None)
        style += u";mso-position-horizontal:"_s + horizontalAlign(o.horizontalAlignment);
    if (o.verticalAlignment != VerticalAlignment::None)
        style += u";mso-position-vertical:"_s + verticalAlign(o.verticalAlignment);
    m_w.writeStartElement(u"w:pict"_s);
    m_w.writeStartElement(u"v:rect"_s);
    m_w.writeAttribute(u"style"_s, style);
    m_w.writeAttribute(u"filled"_s, u"f"_s);
    m_w.writeAttribute(u"stroked"_s, u"f"_s);
    m_w.writeStartElement(u"v:textbox"_s);
    m_w.writeStartElement(u"w:txbxContent"_s);
    DocxStoryWriter(m_writer, m_w, m_part, o.textBoxStory, false).write();
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
    m_w.writeEndElement();
}

// ---- tables

static void widthElement(QXmlStreamWriter &w, const QString &name, int twips)
{
    w.writeEmptyElement(name);
    w.writeAttribute(u"w:w"_s, number(twips));
    w.writeAttribute(u"w:type"_s, u"dxa"_s);
}

void DocxStoryWriter::writeTable(QTextTable *table)
{
    const RichEditDocument &doc = m_writer.document();
    const QTextTableFormat tf = table->format();
    const int rows = table->rows();
    const int columns = table->columns();
    const QList<QTextLength> constraints = tf.columnWidthConstraints();
    const int fallback = qMax(1, doc.sectionProperties(0).textWidth() / qMax(1, columns));
    QList<int> grid;
    grid.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        const QTextLength l = constraints.value(c);
        grid.append(l.type() == QTextLength::FixedLength && l.rawValue() > 0 ? qRound(l.rawValue())
                                                                             : fallback);
    }

    m_w.writeStartElement(u"w:tbl"_s);
    m_w.writeStartElement(u"w:tblPr"_s);
    const QString style = tf.stringProperty(ModelProperty::TableStyleName);
    if (!m_writer.styleId(style).isEmpty()) {
        m_w.writeEmptyElement(u"w:tblStyle"_s);
        m_w.writeAttribute(u"w:val"_s, m_writer.styleId(style));
    }
    m_w.writeEmptyElement(u"w:tblW"_s);
    if (tf.width().type() == QTextLength::FixedLength) {
        m_w.writeAttribute(u"w:w"_s, number(qRound(tf.width().rawValue())));
        m_w.writeAttribute(u"w:type"_s, u"dxa"_s);
    } else if (tf.width().type() == QTextLength::PercentageLength) {
        m_w.writeAttribute(u"w:w"_s, number(qRound(tf.width().rawValue() * 50)));
        m_w.writeAttribute(u"w:type"_s, u"pct"_s);
    } else {
        m_w.writeAttribute(u"w:w"_s, u"0"_s);
        m_w.writeAttribute(u"w:type"_s, u"auto"_s);
    }
    if (tf.hasProperty(ModelProperty::TableAlignment)) {
        const int a = tf.intProperty(ModelProperty::TableAlignment);
        m_w.writeEmptyElement(u"w:jc"_s);
        m_w.writeAttribute(u"w:val"_s, a & Qt::AlignHCenter ? u"center"_s
                                       : a & Qt::AlignRight ? u"right"_s
                                                            : u"left"_s);
    }
    if (tf.hasProperty(ModelProperty::TableIndent))
        widthElement(m_w, u"w:tblInd"_s, tf.intProperty(ModelProperty::TableIndent));
    if (tf.intProperty(ModelProperty::TableAutoFit) == int(TableAutoFit::Fixed)) {
        m_w.writeEmptyElement(u"w:tblLayout"_s);
        m_w.writeAttribute(u"w:type"_s, u"fixed"_s);
    }
    m_w.writeEndElement();
    m_w.writeStartElement(u"w:tblGrid"_s);
    for (int width : std::as_const(grid)) {
        m_w.writeEmptyElement(u"w:gridCol"_s);
        m_w.writeAttribute(u"w:w"_s, number(width));
    }
    m_w.writeEndElement();

    const QVariantList heights = tf.property(ModelProperty::TableRowHeights).toList();
    const QVariantList cantSplit = tf.property(ModelProperty::TableRowCantSplit).toList();
    const int headerRows = tf.intProperty(ModelProperty::TableHeaderRows);
    static const int defaultPadding[4] = {0, 108, 0, 108};
    for (int r = 0; r < rows; ++r) {
        m_w.writeStartElement(u"w:tr"_s);
        const int height = heights.value(r).toInt();
        const bool noSplit = cantSplit.value(r).toBool();
        if (height != 0 || noSplit || r < headerRows) {
            m_w.writeStartElement(u"w:trPr"_s);
            if (noSplit)
                m_w.writeEmptyElement(u"w:cantSplit"_s);
            if (height != 0) {
                m_w.writeEmptyElement(u"w:trHeight"_s);
                m_w.writeAttribute(u"w:val"_s, number(qAbs(height)));
                m_w.writeAttribute(u"w:hRule"_s, height < 0 ? u"exact"_s : u"atLeast"_s);
            }
            if (r < headerRows)
                m_w.writeEmptyElement(u"w:tblHeader"_s);
            m_w.writeEndElement();
        }
        for (int c = 0; c < columns;) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = qMax(1, cell.column() + cell.columnSpan() - c);
            const bool origin = cell.row() == r;
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            int width = 0;
            for (int i = c; i < c + span && i < columns; ++i)
                width += grid[i];
            m_w.writeStartElement(u"w:tc"_s);
            m_w.writeStartElement(u"w:tcPr"_s);
            widthElement(m_w, u"w:tcW"_s, width);
            if (span > 1) {
                m_w.writeEmptyElement(u"w:gridSpan"_s);
                m_w.writeAttribute(u"w:val"_s, number(span));
            }
            if (!origin) {
                m_w.writeEmptyElement(u"w:vMerge"_s);
            } else if (cell.rowSpan() > 1 ||
                       cf.intProperty(ModelProperty::CellVerticalMerge) == 1) {
                m_w.writeEmptyElement(u"w:vMerge"_s);
                m_w.writeAttribute(u"w:val"_s, u"restart"_s);
            }
            if (origin) {
                DocxPropertiesWriter::writeCellBorders(m_w, cf);
                const QBrush back = cf.background();
                if (back.style() != Qt::NoBrush) {
                    m_w.writeEmptyElement(u"w:shd"_s);
                    m_w.writeAttribute(u"w:val"_s, u"clear"_s);
                    m_w.writeAttribute(u"w:color"_s, u"auto"_s);
                    m_w.writeAttribute(u"w:fill"_s, DocxPropertiesWriter::color(back.color()));
                }
                const int padding[4] = {qRound(cf.topPadding()), qRound(cf.leftPadding()),
                                        qRound(cf.bottomPadding()), qRound(cf.rightPadding())};
                if (!std::equal(padding, padding + 4, defaultPadding)) {
                    m_w.writeStartElement(u"w:tcMar"_s);
                    const QString edges[4] = {u"w:top"_s, u"w:left"_s, u"w:bottom"_s, u"w:right"_s};
                    for (int i = 0; i < 4; ++i)
                        widthElement(m_w, edges[i], padding[i]);
                    m_w.writeEndElement();
                }
                const auto valign = cf.verticalAlignment();
                if (valign == QTextCharFormat::AlignMiddle ||
                    valign == QTextCharFormat::AlignBottom) {
                    m_w.writeEmptyElement(u"w:vAlign"_s);
                    m_w.writeAttribute(u"w:val"_s, valign == QTextCharFormat::AlignMiddle
                                                       ? u"center"_s
                                                       : u"bottom"_s);
                }
            }
            m_w.writeEndElement();
            if (origin)
                writeItems(cell.begin());
            else
                m_w.writeEmptyElement(u"w:p"_s);
            m_w.writeEndElement();
            c += span;
        }
        m_w.writeEndElement();
    }
    m_w.writeEndElement();
}

// ---- sections

void DocxStoryWriter::writeSection(const SectionProperties &s)
{
    m_w.writeStartElement(u"w:sectPr"_s);
    static const QString types[HeaderFooterTypeCount] = {u"first"_s, u"default"_s, u"even"_s};
    for (const bool header : {true, false}) {
        for (int t = 0; t < HeaderFooterTypeCount; ++t) {
            const int story = header ? s.headers[t] : s.footers[t];
            if (story == 0)
                continue;
            const QString rel = m_writer.headerFooterRelationship(
                m_part, story, header ? StoryKind::Header : StoryKind::Footer);
            if (rel.isEmpty())
                continue;
            m_w.writeEmptyElement(header ? u"w:headerReference"_s : u"w:footerReference"_s);
            m_w.writeAttribute(u"w:type"_s, types[t]);
            m_w.writeAttribute(u"r:id"_s, rel);
        }
    }
    if (s.breakType != SectionBreakType::NextPage) {
        m_w.writeEmptyElement(u"w:type"_s);
        m_w.writeAttribute(u"w:val"_s, s.breakType == SectionBreakType::Continuous ? u"continuous"_s
                                       : s.breakType == SectionBreakType::EvenPage ? u"evenPage"_s
                                       : s.breakType == SectionBreakType::OddPage
                                           ? u"oddPage"_s
                                           : u"nextColumn"_s);
    }
    m_w.writeEmptyElement(u"w:pgSz"_s);
    m_w.writeAttribute(u"w:w"_s, number(s.pageWidth));
    m_w.writeAttribute(u"w:h"_s, number(s.pageHeight));
    if (s.orientation == PageOrientation::Landscape)
        m_w.writeAttribute(u"w:orient"_s, u"landscape"_s);
    m_w.writeEmptyElement(u"w:pgMar"_s);
    m_w.writeAttribute(u"w:top"_s, number(s.margins.top));
    m_w.writeAttribute(u"w:right"_s, number(s.margins.right));
    m_w.writeAttribute(u"w:bottom"_s, number(s.margins.bottom));
    m_w.writeAttribute(u"w:left"_s, number(s.margins.left));
    m_w.writeAttribute(u"w:header"_s, number(s.headerDistance));
    m_w.writeAttribute(u"w:footer"_s, number(s.footerDistance));
    m_w.writeAttribute(u"w:gutter"_s, number(s.margins.gutter));
    const LineNumbering &ln = s.lineNumbering;
    if (ln.restart != LineNumberRestart::None) {
        m_w.writeEmptyElement(u"w:lnNumType"_s);
        m_w.writeAttribute(u"w:countBy"_s, number(ln.countBy));
        if (ln.start != 1)
            m_w.writeAttribute(u"w:start"_s, number(ln.start - 1));
        m_w.writeAttribute(u"w:distance"_s, number(ln.distance));
        m_w.writeAttribute(u"w:restart"_s,
                           ln.restart == LineNumberRestart::Continuous    ? u"continuous"_s
                           : ln.restart == LineNumberRestart::EachSection ? u"newSection"_s
                                                                          : u"newPage"_s);
    }
    if (s.pageNumberStart >= 0) {
        m_w.writeEmptyElement(u"w:pgNumType"_s);
        m_w.writeAttribute(u"w:start"_s, number(s.pageNumberStart));
    }
    const SectionColumns &cols = s.columns;
    const bool unequal = !cols.equalWidth && cols.columns.size() >= cols.count && cols.count > 1;
    if (unequal) {
        m_w.writeStartElement(u"w:cols"_s);
        m_w.writeAttribute(u"w:num"_s, number(cols.count));
        m_w.writeAttribute(u"w:space"_s, number(cols.spacing));
        m_w.writeAttribute(u"w:equalWidth"_s, u"0"_s);
        if (cols.separatorLine)
            m_w.writeAttribute(u"w:sep"_s, u"1"_s);
        for (const ColumnDefinition &c : cols.columns) {
            m_w.writeEmptyElement(u"w:col"_s);
            m_w.writeAttribute(u"w:w"_s, number(c.width));
            m_w.writeAttribute(u"w:space"_s, number(c.spacing));
        }
        m_w.writeEndElement();
    } else {
        m_w.writeEmptyElement(u"w:cols"_s);
        if (cols.count > 1)
            m_w.writeAttribute(u"w:num"_s, number(cols.count));
        m_w.writeAttribute(u"w:space"_s, number(cols.spacing));
        if (cols.separatorLine)
            m_w.writeAttribute(u"w:sep"_s, u"1"_s);
    }
    if (s.differentFirstPage)
        m_w.writeEmptyElement(u"w:titlePg"_s);
    m_w.writeEndElement();
}

} // namespace formats
