#include "HtmlReader.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

// CSS pixels are 1/96 inch: 15 twips.
constexpr double TwipsPerPixel = 15.0;

HtmlReader::HtmlReader(RichEditDocument *document) : m_doc(document) {}

void HtmlReader::read(const QString &html)
{
    m_doc->clear();
    QTextDocument parsed;
    parsed.setHtml(html);
    dropParagraphsAfterTables(&parsed);
    DocumentSettings settings = m_doc->settings();
    settings.properties.title = parsed.metaInformation(QTextDocument::DocumentTitle);
    QTextDocument *story = m_doc->mainStory();
    story->setUndoRedoEnabled(false);
    QTextCursor c(story);
    c.insertFragment(QTextDocumentFragment(&parsed));
    // The story's own empty paragraph stays after what came in.
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    for (QTextFrame *frame : story->rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            convertTable(table);
    }
    for (QTextBlock b = story->begin(); b.isValid(); b = b.next())
        convertBlock(b);
    story->setUndoRedoEnabled(true);
    m_doc->applySettings(settings);
    m_doc->notifyReset();
}

void HtmlReader::dropParagraphsAfterTables(QTextDocument *parsed)
{
    // Qt puts an empty paragraph after every table and then the page's
    // next paragraph after that one; the page meant only its own.
    for (QTextFrame *frame : parsed->rootFrame()->childFrames()) {
        if (!qobject_cast<QTextTable *>(frame))
            continue;
        const QTextBlock empty = parsed->findBlock(frame->lastPosition() + 1);
        const QTextBlock next = empty.next();
        if (empty.length() != 1 || !next.isValid() || QTextCursor(next).currentTable())
            continue;
        const QTextBlockFormat format = next.blockFormat();
        const QTextCharFormat chars = next.charFormat();
        QTextCursor c(empty);
        c.setPosition(next.position(), QTextCursor::KeepAnchor);
        c.removeSelectedText();
        c.setBlockFormat(format);
        c.setBlockCharFormat(chars);
    }
}

static NumberFormat numberFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return NumberFormat::Decimal;
    case QTextListFormat::ListLowerAlpha:
        return NumberFormat::LowerLetter;
    case QTextListFormat::ListUpperAlpha:
        return NumberFormat::UpperLetter;
    case QTextListFormat::ListLowerRoman:
        return NumberFormat::LowerRoman;
    case QTextListFormat::ListUpperRoman:
        return NumberFormat::UpperRoman;
    default:
        return NumberFormat::Bullet;
    }
}

int HtmlReader::listInstance(QTextList *list)
{
    auto it = m_lists.constFind(list);
    if (it != m_lists.cend())
        return *it;
    // A nested Qt list is a deeper level of the list around it.
    if (list->format().indent() > 1 && m_lastInstance > 0) {
        m_lists.insert(list, m_lastInstance);
        return m_lastInstance;
    }
    const int id = m_doc->lists().createList(numberFormat(list->format().style()));
    m_lists.insert(list, id);
    return id;
}

QTextCharFormat HtmlReader::convertChar(const QTextCharFormat &in, const QTextCharFormat &base)
{
    QTextCharFormat f = base;
    // Only what the page stated: Qt's own defaults for links and headings
    // are not the document's formatting.
    static const int copied[] = {QTextFormat::FontFamilies,
                                 QTextFormat::FontPointSize,
                                 QTextFormat::FontWeight,
                                 QTextFormat::FontItalic,
                                 QTextFormat::TextUnderlineStyle,
                                 QTextFormat::FontStrikeOut,
                                 QTextFormat::ForegroundBrush,
                                 QTextFormat::BackgroundBrush,
                                 QTextFormat::TextVerticalAlignment,
                                 QTextFormat::FontCapitalization,
                                 QTextFormat::IsAnchor,
                                 QTextFormat::AnchorHref};
    for (int p : copied) {
        if (in.hasProperty(p))
            f.setProperty(p, in.property(p));
    }
    if (in.hasProperty(QTextFormat::FontUnderline))
        f.setFontUnderline(in.fontUnderline());
    if (!in.isImageFormat())
        return f;
    const QTextImageFormat image = in.toImageFormat();
    const QString source = image.name();
    QString id = m_images.value(source);
    if (id.isEmpty() && source.startsWith(u"data:image/"_s)) {
        const qsizetype comma = source.indexOf(u',');
        const QString header = source.left(comma);
        if (comma > 0 && header.endsWith(u";base64"_s)) {
            const QByteArray bytes = QByteArray::fromBase64(source.mid(comma + 1).toLatin1());
            const QString suffix = header.mid(11, header.size() - 11 - 7);
            id = m_doc->images().add(bytes, suffix == u"jpeg"_s ? u"jpeg"_s : suffix);
            m_images.insert(source, id);
        }
    }
    if (id.isEmpty())
        return f; // a linked picture: the model has no place for it
    QTextImageFormat out;
    out.merge(f);
    out.setObjectType(QTextFormat::ImageObject);
    out.setName(id);
    out.setProperty(ModelProperty::ImageId, id);
    const QSize natural = m_doc->images().pixelSize(id);
    out.setWidth((image.width() > 0 ? image.width() : natural.width()) * TwipsPerPixel);
    out.setHeight((image.height() > 0 ? image.height() : natural.height()) * TwipsPerPixel);
    return out;
}

void HtmlReader::convertBlock(const QTextBlock &block)
{
    const QTextBlockFormat in = block.blockFormat();
    QString style = StyleSheet::normalStyleName();
    if (in.headingLevel() >= 1 && in.headingLevel() <= 6)
        style = StyleSheet::headingStyleName(in.headingLevel());
    QTextBlockFormat f = m_doc->styles().resolvedBlockFormat(style);
    f.setProperty(ModelProperty::ParagraphStyle, style);
    f.setTopMargin(in.topMargin() * TwipsPerPixel);
    f.setBottomMargin(in.bottomMargin() * TwipsPerPixel);
    f.setLeftMargin(in.leftMargin() * TwipsPerPixel);
    f.setRightMargin(in.rightMargin() * TwipsPerPixel);
    f.setTextIndent(in.textIndent() * TwipsPerPixel);
    if (in.hasProperty(QTextFormat::BlockAlignment))
        f.setAlignment(in.alignment());
    if (in.hasProperty(QTextFormat::BackgroundBrush))
        f.setBackground(in.background());
    if (in.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    switch (in.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        f.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
        f.setProperty(ModelProperty::LineSpacingValue, in.lineHeight() / 100.0);
        break;
    case QTextBlockFormat::FixedHeight:
    case QTextBlockFormat::MinimumHeight:
        f.setProperty(ModelProperty::LineSpacingRule,
                      int(in.lineHeightType() == QTextBlockFormat::FixedHeight
                              ? LineSpacing::Exactly
                              : LineSpacing::AtLeast));
        f.setProperty(ModelProperty::LineSpacingValue, in.lineHeight() * TwipsPerPixel);
        break;
    default:
        break;
    }
    QTextCursor c(block);
    if (QTextList *list = block.textList()) {
        const int instance = listInstance(list);
        m_lastInstance = instance;
        const int level = qBound(0, list->format().indent() - 1, ListTable::LevelCount - 1);
        list->remove(block);
        f.setProperty(ModelProperty::ListInstance, instance);
        f.setProperty(ModelProperty::ListLevel, level);
        const ListLevel l = m_doc->lists().level(instance, level);
        f.setLeftMargin(l.indent);
        f.setTextIndent(-l.hanging);
    } else {
        m_lastInstance = 0;
    }
    const QTextCharFormat base = m_doc->styles().resolvedCharFormat(style);
    c.setBlockFormat(f);
    // The first paragraph of a table cell carries the cell's format (its
    // spans and borders) as its paragraph character format.
    const QTextTable *table = c.currentTable();
    if (!table || table->cellAt(block.position()).firstPosition() != block.position())
        c.setBlockCharFormat(base);
    // Collected first: setting formats merges fragments under the iterator.
    QList<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragments.append(it.fragment());
    for (const QTextFragment &fragment : std::as_const(fragments)) {
        QTextCursor range(c);
        range.setPosition(fragment.position());
        range.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        range.setCharFormat(convertChar(fragment.charFormat(), base));
    }
}

void HtmlReader::convertTable(QTextTable *table)
{
    QTextTableFormat tf = table->format();
    // The model keeps borders and padding on the cells, in twips.
    const double padding = qMax<qreal>(0, tf.cellPadding());
    const double border = tf.border();
    QList<QTextLength> widths = tf.columnWidthConstraints();
    for (QTextLength &l : widths) {
        if (l.type() == QTextLength::FixedLength)
            l = QTextLength(QTextLength::FixedLength, l.rawValue() * TwipsPerPixel);
    }
    tf.setColumnWidthConstraints(widths);
    if (tf.width().type() == QTextLength::FixedLength)
        tf.setWidth(QTextLength(QTextLength::FixedLength, tf.width().rawValue() * TwipsPerPixel));
    tf.setBorder(0);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    tf.setMargin(0);
    tf.setProperty(ModelProperty::TableAutoFit, int(TableAutoFit::Contents));
    table->setFormat(tf);
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextTableCellFormat f = cell.format().toTableCellFormat();
            auto edge = [&](int property, qreal fallback) {
                f.setProperty(property,
                              (f.hasProperty(property) ? f.doubleProperty(property) : fallback) *
                                  TwipsPerPixel);
            };
            edge(QTextFormat::TableCellTopBorder, border);
            edge(QTextFormat::TableCellLeftBorder, border);
            edge(QTextFormat::TableCellBottomBorder, border);
            edge(QTextFormat::TableCellRightBorder, border);
            edge(QTextFormat::TableCellTopPadding, padding);
            edge(QTextFormat::TableCellLeftPadding, padding);
            edge(QTextFormat::TableCellBottomPadding, padding);
            edge(QTextFormat::TableCellRightPadding, padding);
            cell.setFormat(f);
        }
    }
    for (QTextFrame *frame : table->childFrames()) {
        if (auto *inner = qobject_cast<QTextTable *>(frame))
            convertTable(inner);
    }
}

} // namespace formats
