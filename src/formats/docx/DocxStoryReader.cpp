#include "DocxStoryReader.h"

#include "DocxReader.h"
#include "XmlScanner.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

#include <algorithm>

namespace formats {

using namespace richedit;

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

// DrawingML lengths are EMU: 914400 per inch, 635 per twip.
static int emuToTwips(qint64 emu)
{
    return int(std::clamp<qint64>(emu / 635, -1'000'000'000, 1'000'000'000));
}

DocxStoryReader::DocxStoryReader(DocxReader &reader, XmlScanner &x, const QString &part,
                                 int storyId)
    : m_reader(reader), m_x(x), m_part(part), m_storyId(storyId),
      m_cursor(reader.document()->story(storyId))
{
}

void DocxStoryReader::readContent()
{
    QTextDocument *story = m_reader.document()->story(m_storyId);
    story->setUndoRedoEnabled(false);
    readBlockContent(m_x.depth());
    flush();
    // Ranges are tracked only now: a tracked cursor at the end of the text
    // would grow with every insert that follows.
    for (const auto &[name, range] : std::as_const(m_finishedBookmarks))
        m_reader.document()->addBookmark(name, range);
    for (const PendingPermission &p : std::as_const(m_finishedPermissions))
        m_reader.document()->addPermission(p.id, p.editor, p.group, p.range);
    story->setUndoRedoEnabled(true);
}

void DocxStoryReader::readBlockContent(int depth)
{
    while (!m_reader.failed() && m_x.nextChild(depth))
        readBlockChild();
}

void DocxStoryReader::readBlockChild()
{
    if (m_x.is("p")) {
        readParagraph();
    } else if (m_x.is("tbl")) {
        readTable();
    } else if (m_x.is("sectPr")) {
        if (m_storyId == MainStoryId) {
            m_finalSection = m_reader.readSection(m_x, m_part);
            m_hasFinalSection = true;
        }
    } else if (m_x.is("sdt") || m_x.is("customXml") || m_x.is("ins") || m_x.is("moveTo")) {
        // Content controls and tracked insertions wrap ordinary content.
        const int d = m_x.depth();
        while (m_x.nextChild(d)) {
            if (m_x.is("sdtContent"))
                readBlockContent(m_x.depth());
            else
                readBlockChild();
        }
    } else if (m_x.is("AlternateContent")) {
        readAlternate([this] { readBlockChild(); });
    } else {
        readMarker();
    }
}

bool DocxStoryReader::readMarker()
{
    if (m_x.is("bookmarkStart")) {
        const QString name = m_x.attr("name").toString();
        if (!name.isEmpty() && name != QLatin1String("_GoBack"))
            m_bookmarks.insert(m_x.attr("id").toString(), {name, position()});
    } else if (m_x.is("bookmarkEnd")) {
        const auto it = m_bookmarks.constFind(m_x.attr("id").toString());
        if (it != m_bookmarks.cend()) {
            const int end = position();
            m_finishedBookmarks.append({it->first, {m_storyId, it->second, end - it->second}});
        }
    } else if (m_x.is("permStart")) {
        m_permissions.insert(
            m_x.attr("id").toString(),
            {{m_x.attr("ed").toString(), m_x.attr("edGrp").toString()}, position()});
    } else if (m_x.is("permEnd")) {
        const QString id = m_x.attr("id").toString();
        const auto it = m_permissions.constFind(id);
        if (it != m_permissions.cend()) {
            const int end = position();
            m_finishedPermissions.append({id,
                                          it->first.value(0),
                                          it->first.value(1),
                                          {m_storyId, it->second, end - it->second}});
        }
    } else {
        return false;
    }
    return true;
}

void DocxStoryReader::readParagraph()
{
    const int depth = m_x.depth();
    QString style = m_reader.defaultParagraphStyle();
    QTextBlockFormat direct;
    int numId = -1;
    int level = -1;
    bool sectionEnd = false;
    SectionProperties section;
    Paragraph p;
    bool started = false;
    auto start = [&] {
        p.block = m_reader.paragraphFormat(style);
        if (numId >= 0 || level >= 0) {
            const int list = numId >= 0 ? numId : p.block.intProperty(ModelProperty::ListInstance);
            const int l = level >= 0 ? level : p.block.intProperty(ModelProperty::ListLevel);
            m_reader.applyListLevel(list, l, &p.block);
        }
        p.block.merge(direct);
        p.chars = m_reader.paragraphCharFormat(style);
        startBlock(p.block, p.chars);
        started = true;
    };
    while (!m_reader.failed() && m_x.nextChild(depth)) {
        if (!started && m_x.is("pPr")) {
            const int d = m_x.depth();
            while (m_x.nextChild(d)) {
                if (m_x.is("pStyle")) {
                    const QString name = m_reader.styleName(m_x.attr("val"));
                    if (!name.isEmpty())
                        style = name;
                } else if (m_x.is("numPr")) {
                    const int n = m_x.depth();
                    while (m_x.nextChild(n)) {
                        if (m_x.is("numId"))
                            numId = m_x.intAttr("val", 0);
                        else if (m_x.is("ilvl"))
                            level = m_x.intAttr("val", 0);
                    }
                } else if (m_x.is("sectPr")) {
                    section = m_reader.readSection(m_x, m_part);
                    sectionEnd = m_storyId == MainStoryId;
                } else {
                    DocxProperties::paragraphChild(m_x, &direct);
                }
            }
            continue;
        }
        if (!started)
            start();
        readParagraphChild(p);
    }
    if (!started)
        start();
    flush();
    if (sectionEnd)
        m_reader.document()->setSectionBreakBlock(m_cursor.block(), section);
}

void DocxStoryReader::readParagraphChild(const Paragraph &p)
{
    if (m_x.is("r")) {
        readRun(p);
    } else if (m_x.is("hyperlink")) {
        const QString saved = m_href;
        const QString anchor = m_x.attr("anchor").toString();
        const QString id = m_x.attr("id").toString();
        if (!id.isEmpty())
            m_href = m_reader.package().relationships(m_part).value(id).target;
        else if (!anchor.isEmpty())
            m_href = u'#' + anchor;
        const int d = m_x.depth();
        while (m_x.nextChild(d))
            readParagraphChild(p);
        m_href = saved;
    } else if (m_x.is("fldSimple")) {
        Field field;
        field.instruction = m_x.attr("instr").toString();
        field.simple = true;
        FieldState state;
        state.instruction = field.instruction;
        state.id = m_reader.document()->addField(field);
        state.inResult = true;
        m_fields.append(state);
        const int d = m_x.depth();
        while (m_x.nextChild(d))
            readParagraphChild(p);
        m_fields.removeLast();
    } else if (m_x.is("ins") || m_x.is("moveTo") || m_x.is("smartTag") || m_x.is("customXml") ||
               m_x.is("sdt") || m_x.is("sdtContent") || m_x.is("dir") || m_x.is("bdo")) {
        if (m_x.is("ins"))
            m_reader.note(tr("tracked changes"));
        const int d = m_x.depth();
        while (m_x.nextChild(d))
            readParagraphChild(p);
    } else if (m_x.is("del") || m_x.is("moveFrom")) {
        m_reader.note(tr("tracked changes"));
    } else if (m_x.is("AlternateContent")) {
        readAlternate([this, &p] { readParagraphChild(p); });
    } else if (m_x.is("oMath") || m_x.is("oMathPara")) {
        readMath(p);
    } else {
        readMarker();
    }
}

void DocxStoryReader::readMath(const Paragraph &p)
{
    // Equations are not in the model yet; their text keeps the content.
    m_reader.note(tr("equations"));
    const int d = m_x.depth();
    while (m_x.nextChild(d)) {
        if (m_x.is("t"))
            appendText(m_x.text(), fieldFormat(p.chars));
        else
            readMath(p);
    }
}

QTextCharFormat DocxStoryReader::fieldFormat(QTextCharFormat format) const
{
    QString href = m_href;
    for (qsizetype i = m_fields.size() - 1; i >= 0; --i) {
        const FieldState &f = m_fields[i];
        if (f.id == 0)
            continue;
        if (!format.hasProperty(ModelProperty::FieldId))
            format.setProperty(ModelProperty::FieldId, f.id);
        const Field *field = m_reader.document()->field(f.id);
        if (href.isEmpty() && field && field->type == FieldType::Hyperlink)
            href = field->argument();
    }
    if (!href.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(href);
    }
    return format;
}

bool DocxStoryReader::inFieldInstruction() const
{
    for (const FieldState &f : m_fields) {
        if (!f.inResult)
            return true;
    }
    return false;
}

void DocxStoryReader::readRun(const Paragraph &p)
{
    const int depth = m_x.depth();
    QTextCharFormat format = p.chars;
    bool resolved = false;
    QTextCharFormat direct;
    QString charStyle;
    auto effective = [&]() -> const QTextCharFormat & {
        if (!resolved) {
            if (!charStyle.isEmpty())
                format.merge(m_reader.characterStyleFormat(charStyle));
            format.merge(direct);
            resolved = true;
        }
        return format;
    };
    auto text = [&](const QString &t) {
        if (!inFieldInstruction())
            appendText(t, fieldFormat(effective()));
    };
    std::function<void()> child = [&] {
        const QStringView n = m_x.name();
        if (n == u"rPr") {
            const int d = m_x.depth();
            while (m_x.nextChild(d)) {
                if (m_x.is("rStyle"))
                    charStyle = m_reader.styleName(m_x.attr("val"));
                else
                    DocxProperties::runChild(m_x, &direct, m_reader.theme());
            }
        } else if (n == u"t") {
            QString t = m_x.text();
            // Line ends inside w:t are XML formatting, not breaks.
            t.replace(u'\n', u' ');
            t.replace(u'\r', u' ');
            text(t);
        } else if (n == u"instrText") {
            const QString t = m_x.text();
            if (!m_fields.isEmpty() && !m_fields.last().inResult)
                m_fields.last().instruction += t;
        } else if (n == u"tab" || n == u"ptab") {
            text(QStringLiteral("\t"));
        } else if (n == u"br") {
            const QStringView type = m_x.attr("type");
            if (type == u"page" || type == u"column") {
                if (!inFieldInstruction())
                    breakBlock(type == u"page");
            } else {
                text(QString(QChar::LineSeparator));
            }
        } else if (n == u"cr") {
            text(QString(QChar::LineSeparator));
        } else if (n == u"noBreakHyphen") {
            text(QString(QChar(0x2011)));
        } else if (n == u"softHyphen") {
            text(QString(QChar(0x00AD)));
        } else if (n == u"sym") {
            bool ok = false;
            const uint code = m_x.attr("char").toUInt(&ok, 16);
            if (ok && code > 0 && code < 0xFFFF)
                text(QString(QChar(char16_t(code))));
        } else if (n == u"fldChar") {
            readFieldChar();
        } else if (n == u"drawing") {
            if (!inFieldInstruction())
                readDrawing(fieldFormat(effective()));
        } else if (n == u"pict" || n == u"object") {
            if (!inFieldInstruction())
                readPicture(fieldFormat(effective()));
        } else if (n == u"AlternateContent") {
            readAlternate(child);
        } else if (n == u"footnoteReference" || n == u"endnoteReference") {
            m_reader.note(tr("footnotes and endnotes"));
        } else if (n == u"commentReference") {
            m_reader.note(tr("comments"));
        }
    };
    while (!m_reader.failed() && m_x.nextChild(depth))
        child();
}

void DocxStoryReader::readFieldChar()
{
    const QStringView type = m_x.attr("fldCharType");
    if (type == u"begin") {
        // Damaged files nest fields without end; the cap keeps the stack small.
        if (m_fields.size() < 64)
            m_fields.append(FieldState{});
    } else if (type == u"separate") {
        if (!m_fields.isEmpty() && !m_fields.last().inResult) {
            FieldState &f = m_fields.last();
            f.inResult = true;
            Field field;
            field.instruction = f.instruction;
            f.id = m_reader.document()->addField(field);
        }
    } else if (type == u"end") {
        if (!m_fields.isEmpty()) {
            const FieldState f = m_fields.takeLast();
            if (f.id == 0) {
                Field field;
                field.instruction = f.instruction;
                m_reader.document()->addField(field);
            }
        }
    }
}

void DocxStoryReader::startBlock(const QTextBlockFormat &block, const QTextCharFormat &chars)
{
    flush();
    if (m_blockFresh) {
        m_cursor.setBlockFormat(block);
        m_cursor.setBlockCharFormat(chars);
        m_blockFresh = false;
    } else {
        m_cursor.insertBlock(block, chars);
    }
}

void DocxStoryReader::breakBlock(bool page)
{
    flush();
    QTextBlockFormat f = m_cursor.blockFormat();
    const bool empty = m_cursor.block().length() <= 1;
    if (page)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    else
        f.setProperty(ModelProperty::ColumnBreakBefore, true);
    if (empty) {
        m_cursor.setBlockFormat(f);
        return;
    }
    // The rest of the paragraph continues on the new page without a new label.
    f.setProperty(ModelProperty::ListInstance, 0);
    f.setTextIndent(0);
    f.setTopMargin(0);
    m_cursor.insertBlock(f, m_cursor.blockCharFormat());
}

void DocxStoryReader::appendText(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    if (!m_pending.isEmpty() && format != m_pendingFormat)
        flush();
    if (m_pending.isEmpty())
        m_pendingFormat = format;
    m_pending += text;
}

void DocxStoryReader::flush()
{
    if (m_pending.isEmpty())
        return;
    m_cursor.insertText(m_pending, m_pendingFormat);
    m_pending.clear();
    m_blockFresh = false;
}

int DocxStoryReader::position()
{
    flush();
    return m_cursor.position();
}

// ---- tables

void DocxStoryReader::readTable()
{
    flush();
    const int depth = m_x.depth();
    struct Cell
    {
        int row = 0;
        int column = 0;
        int span = 1;
        bool continues = false; // w:vMerge without restart
        QTextTableCellFormat format;
        DocxBorder edges[4]; // top, left, bottom, right
        int margins[4] = {-1, -1, -1, -1};
    };
    QTextTableFormat tf;
    tf.setBorder(0);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    tf.setMargin(0);
    QString style;
    DocxTableLook own;
    QList<int> grid;
    QList<Cell> cells;
    QVariantList heights;
    QVariantList cantSplit;
    int headerRows = 0;
    bool headerRun = true;
    QTextTable *table = nullptr;
    int row = -1;
    bool fixed = false;

    auto ensureColumns = [&](int count) {
        if (!table) {
            table = m_cursor.insertTable(1, qMax(count, int(grid.size())), tf);
        } else if (table->columns() < count) {
            table->appendColumns(count - table->columns());
        }
    };

    while (!m_reader.failed() && m_x.nextChild(depth)) {
        if (m_x.is("tblPr")) {
            const int d = m_x.depth();
            while (m_x.nextChild(d)) {
                if (DocxProperties::tableLookChild(m_x, &own))
                    continue;
                if (m_x.is("tblStyle")) {
                    style = m_reader.styleName(m_x.attr("val"));
                } else if (m_x.is("tblW")) {
                    const int w = DocxProperties::width(m_x);
                    if (w > 0)
                        tf.setWidth(QTextLength(QTextLength::FixedLength, w));
                    else if (w < 0)
                        tf.setWidth(QTextLength(QTextLength::PercentageLength, -w / 50.0));
                } else if (m_x.is("jc")) {
                    const Qt::Alignment a = DocxProperties::alignment(m_x.attr("val"));
                    tf.setAlignment(a);
                    tf.setProperty(ModelProperty::TableAlignment, int(a));
                } else if (m_x.is("tblInd")) {
                    tf.setProperty(ModelProperty::TableIndent, DocxProperties::width(m_x));
                } else if (m_x.is("tblLayout")) {
                    fixed = m_x.attr("type") == u"fixed";
                }
            }
        } else if (m_x.is("tblGrid")) {
            const int d = m_x.depth();
            while (m_x.nextChild(d)) {
                if (m_x.is("gridCol"))
                    grid.append(qMax(0, m_x.intAttr("w")));
            }
        } else if (m_x.is("tr")) {
            ensureColumns(1);
            // Rows come in doubling batches: each appendRows re-indexes the
            // whole table, so one call per row would make long tables quadratic.
            if (++row >= table->rows())
                table->appendRows(table->rows());
            int column = 0;
            int height = 0;
            bool header = false;
            bool noSplit = false;
            const int d = m_x.depth();
            while (!m_reader.failed() && m_x.nextChild(d)) {
                if (m_x.is("trPr") || m_x.is("tblPrEx")) {
                    const int t = m_x.depth();
                    while (m_x.nextChild(t)) {
                        if (m_x.is("gridBefore"))
                            column += qBound(0, m_x.intAttr("val"), 63);
                        else if (m_x.is("trHeight"))
                            height = m_x.attr("hRule") == u"exact" ? -m_x.intAttr("val")
                                                                   : m_x.intAttr("val");
                        else if (m_x.is("tblHeader"))
                            header = m_x.onOff();
                        else if (m_x.is("cantSplit"))
                            noSplit = m_x.onOff();
                    }
                } else if (m_x.is("tc")) {
                    Cell cell;
                    cell.row = row;
                    cell.column = column;
                    bool positioned = false;
                    const int c = m_x.depth();
                    while (!m_reader.failed() && m_x.nextChild(c)) {
                        if (!positioned && m_x.is("tcPr")) {
                            const int t = m_x.depth();
                            while (m_x.nextChild(t)) {
                                if (m_x.is("gridSpan")) {
                                    cell.span = qBound(1, m_x.intAttr("val", 1), 63);
                                } else if (m_x.is("vMerge")) {
                                    cell.continues = m_x.attr("val") != u"restart";
                                    cell.format.setProperty(ModelProperty::CellVerticalMerge,
                                                            cell.continues ? 2 : 1);
                                } else if (m_x.is("shd")) {
                                    const QColor fill = DocxProperties::color(m_x.attr("fill"));
                                    if (fill.isValid())
                                        cell.format.setBackground(fill);
                                } else if (m_x.is("vAlign")) {
                                    const QStringView v = m_x.attr("val");
                                    if (v == u"center")
                                        cell.format.setVerticalAlignment(
                                            QTextCharFormat::AlignMiddle);
                                    else if (v == u"bottom")
                                        cell.format.setVerticalAlignment(
                                            QTextCharFormat::AlignBottom);
                                } else if (m_x.is("tcBorders") || m_x.is("tcMar")) {
                                    const bool borders = m_x.is("tcBorders");
                                    const int b = m_x.depth();
                                    while (m_x.nextChild(b)) {
                                        const int edge = m_x.is("top")                         ? 0
                                                         : (m_x.is("left") || m_x.is("start")) ? 1
                                                         : m_x.is("bottom")                    ? 2
                                                         : (m_x.is("right") || m_x.is("end"))  ? 3
                                                                                               : -1;
                                        if (edge < 0)
                                            continue;
                                        if (borders)
                                            cell.edges[edge] = DocxProperties::border(m_x);
                                        else
                                            cell.margins[edge] = m_x.intAttr("w", -1);
                                    }
                                }
                            }
                            continue;
                        }
                        if (!positioned) {
                            ensureColumns(cell.column + cell.span);
                            flush();
                            m_cursor = table->cellAt(row, cell.column).firstCursorPosition();
                            m_blockFresh = true;
                            positioned = true;
                        }
                        readBlockChild();
                    }
                    if (!positioned)
                        ensureColumns(cell.column + cell.span);
                    flush();
                    column += cell.span;
                    cells.append(cell);
                }
            }
            heights.append(height);
            cantSplit.append(noSplit);
            if (header && headerRun)
                ++headerRows;
            else
                headerRun = false;
        }
    }
    if (!table)
        return;
    if (table->rows() > row + 1)
        table->removeRows(row + 1, table->rows() - row - 1);

    // Borders: the cell's own, else the table's, else its style's; inner
    // edges take the inside borders.
    DocxTableLook look;
    if (const DocxTableLook *s = m_reader.tableStyleLook(style))
        look = *s;
    auto pick = [](const DocxBorder &mine, const DocxBorder &fallback) {
        return mine.set ? mine : fallback;
    };
    look.top = pick(own.top, look.top);
    look.left = pick(own.left, look.left);
    look.bottom = pick(own.bottom, look.bottom);
    look.right = pick(own.right, look.right);
    look.insideH = pick(own.insideH, look.insideH);
    look.insideV = pick(own.insideV, look.insideV);
    for (int i = 0; i < 4; ++i) {
        if (own.cellMargins[i] >= 0)
            look.cellMargins[i] = own.cellMargins[i];
    }
    static const int defaultMargins[4] = {0, 108, 0, 108};
    const int rows = table->rows();
    const int columns = table->columns();
    QHash<QPair<int, int>, int> at;
    for (int i = 0; i < cells.size(); ++i)
        at.insert({cells[i].row, cells[i].column}, i);
    // One edit block: each merge outside one rescans the whole story's frames.
    QTextCursor edit(table->firstCursorPosition());
    edit.beginEditBlock();
    for (const Cell &cell : std::as_const(cells)) {
        if (cell.continues)
            continue;
        int lastRow = cell.row;
        while (true) {
            const auto next = at.constFind({lastRow + 1, cell.column});
            if (next == at.cend() || !cells[*next].continues)
                break;
            ++lastRow;
        }
        QTextTableCellFormat f = cell.format;
        const DocxBorder top = pick(cell.edges[0], cell.row == 0 ? look.top : look.insideH);
        const DocxBorder left = pick(cell.edges[1], cell.column == 0 ? look.left : look.insideV);
        const DocxBorder bottom =
            pick(cell.edges[2], lastRow == rows - 1 ? look.bottom : look.insideH);
        const DocxBorder right =
            pick(cell.edges[3], cell.column + cell.span >= columns ? look.right : look.insideV);
        f.setTopBorder(top.width);
        f.setTopBorderStyle(top.style);
        f.setTopBorderBrush(top.color);
        f.setLeftBorder(left.width);
        f.setLeftBorderStyle(left.style);
        f.setLeftBorderBrush(left.color);
        f.setBottomBorder(bottom.width);
        f.setBottomBorderStyle(bottom.style);
        f.setBottomBorderBrush(bottom.color);
        f.setRightBorder(right.width);
        f.setRightBorderStyle(right.style);
        f.setRightBorderBrush(right.color);
        int m[4];
        for (int i = 0; i < 4; ++i)
            m[i] = cell.margins[i] >= 0       ? cell.margins[i]
                   : look.cellMargins[i] >= 0 ? look.cellMargins[i]
                                              : defaultMargins[i];
        f.setTopPadding(m[0]);
        f.setLeftPadding(m[1]);
        f.setBottomPadding(m[2]);
        f.setRightPadding(m[3]);
        QTextTableCell tableCell = table->cellAt(cell.row, cell.column);
        tableCell.setFormat(f);
        if (lastRow > cell.row || cell.span > 1)
            table->mergeCells(cell.row, cell.column, lastRow - cell.row + 1,
                              qMin(cell.span, columns - cell.column));
    }
    edit.endEditBlock();

    QList<QTextLength> widths;
    for (int c = 0; c < columns; ++c)
        widths.append(c < grid.size() && grid[c] > 0
                          ? QTextLength(QTextLength::FixedLength, grid[c])
                          : QTextLength());
    tf = table->format();
    tf.setColumnWidthConstraints(widths);
    if (!style.isEmpty())
        tf.setProperty(ModelProperty::TableStyleName, style);
    const bool window = tf.width().type() == QTextLength::PercentageLength;
    tf.setProperty(ModelProperty::TableAutoFit, int(fixed    ? TableAutoFit::Fixed
                                                    : window ? TableAutoFit::Window
                                                             : TableAutoFit::Contents));
    tf.setProperty(ModelProperty::TableRowHeights, heights);
    tf.setProperty(ModelProperty::TableRowCantSplit, cantSplit);
    tf.setProperty(ModelProperty::TableHeaderRows, headerRows);
    table->setFormat(tf);

    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockFresh = true;
}

// ---- pictures and text boxes

static bool knownRequirements(QStringView requirements)
{
    static const QStringList known = {
        QStringLiteral("wps"), QStringLiteral("wpg"), QStringLiteral("wp14"), QStringLiteral("w14"),
        QStringLiteral("w15"), QStringLiteral("a14"), QStringLiteral("wpc"),  QStringLiteral("v")};
    for (QStringView r : requirements.split(u' ', Qt::SkipEmptyParts)) {
        if (!known.contains(r.toString()))
            return false;
    }
    return true;
}

void DocxStoryReader::readAlternate(const std::function<void()> &child)
{
    const int d = m_x.depth();
    bool done = false;
    while (m_x.nextChild(d)) {
        if (done)
            continue;
        if ((m_x.is("Choice") && knownRequirements(m_x.attr("Requires"))) || m_x.is("Fallback")) {
            const int c = m_x.depth();
            while (!m_reader.failed() && m_x.nextChild(c))
                child();
            done = true;
        }
    }
}

void DocxStoryReader::insertObject(const QTextCharFormat &format)
{
    appendText(QString(QChar::ObjectReplacementCharacter), format);
}

int DocxStoryReader::readTextBox()
{
    const int id = m_reader.document()->createStory(StoryKind::TextBox);
    DocxStoryReader box(m_reader, m_x, m_part, id);
    box.readContent();
    return id;
}

void DocxStoryReader::readGraphic(int depth, QString *imageId, int *textBox)
{
    while (!m_reader.failed() && m_x.nextChild(depth)) {
        if (m_x.is("blip")) {
            if (imageId->isEmpty())
                *imageId = m_reader.imageId(m_part, m_x.attr("embed"));
        } else if (m_x.is("txbxContent")) {
            if (*textBox == 0)
                *textBox = readTextBox();
        } else if (m_x.is("imagedata")) {
            if (imageId->isEmpty())
                *imageId = m_reader.imageId(m_part, m_x.attr("id"));
        } else if (m_x.is("chart") || m_x.is("relIds")) {
            m_reader.note(tr("charts and diagrams"));
        } else {
            readGraphic(m_x.depth(), imageId, textBox);
        }
    }
}

void DocxStoryReader::readAnchorPosition(FloatingObject *object)
{
    const bool horizontal = m_x.is("positionH");
    const QStringView from = m_x.attr("relativeFrom");
    if (horizontal) {
        object->horizontalRelativeTo = from == u"margin"      ? HorizontalRelativeTo::Margin
                                       : from == u"column"    ? HorizontalRelativeTo::Column
                                       : from == u"character" ? HorizontalRelativeTo::Character
                                                              : HorizontalRelativeTo::Page;
    } else {
        object->verticalRelativeTo = from == u"margin"      ? VerticalRelativeTo::Margin
                                     : from == u"paragraph" ? VerticalRelativeTo::Paragraph
                                     : from == u"line"      ? VerticalRelativeTo::Line
                                                            : VerticalRelativeTo::Page;
    }
    const int d = m_x.depth();
    while (m_x.nextChild(d)) {
        if (m_x.is("posOffset")) {
            const int offset = emuToTwips(m_x.text().trimmed().toLongLong());
            (horizontal ? object->horizontalOffset : object->verticalOffset) = offset;
        } else if (m_x.is("align")) {
            const QString a = m_x.text().trimmed();
            if (horizontal)
                object->horizontalAlignment = a == u"center"    ? HorizontalAlignment::Center
                                              : a == u"right"   ? HorizontalAlignment::Right
                                              : a == u"inside"  ? HorizontalAlignment::Inside
                                              : a == u"outside" ? HorizontalAlignment::Outside
                                                                : HorizontalAlignment::Left;
            else
                object->verticalAlignment = a == u"center"    ? VerticalAlignment::Center
                                            : a == u"bottom"  ? VerticalAlignment::Bottom
                                            : a == u"inside"  ? VerticalAlignment::Inside
                                            : a == u"outside" ? VerticalAlignment::Outside
                                                              : VerticalAlignment::Top;
        }
    }
}

void DocxStoryReader::readDrawing(const QTextCharFormat &format)
{
    const int depth = m_x.depth();
    while (!m_reader.failed() && m_x.nextChild(depth)) {
        const bool inlined = m_x.is("inline");
        if (!inlined && !m_x.is("anchor"))
            continue;
        FloatingObject object;
        object.distanceTop = emuToTwips(m_x.intAttr("distT"));
        object.distanceBottom = emuToTwips(m_x.intAttr("distB"));
        object.distanceLeft = emuToTwips(m_x.intAttr("distL"));
        object.distanceRight = emuToTwips(m_x.intAttr("distR"));
        object.zOrder = m_x.intAttr("relativeHeight");
        object.allowOverlap = !m_x.hasAttr("allowOverlap") || m_x.onOff("allowOverlap");
        object.lockAnchor = m_x.hasAttr("locked") && m_x.onOff("locked");
        const bool behind = m_x.hasAttr("behindDoc") && m_x.onOff("behindDoc");
        object.wrap = behind ? WrapType::BehindText : WrapType::InFrontOfText;
        QString imageId;
        int textBox = 0;
        const int d = m_x.depth();
        while (!m_reader.failed() && m_x.nextChild(d)) {
            if (m_x.is("extent")) {
                object.size = QSize(emuToTwips(m_x.attr("cx").toLongLong()),
                                    emuToTwips(m_x.attr("cy").toLongLong()));
            } else if (m_x.is("docPr")) {
                object.name = m_x.attr("name").toString();
                object.description = m_x.attr("descr").toString();
            } else if (m_x.is("positionH") || m_x.is("positionV")) {
                readAnchorPosition(&object);
            } else if (m_x.is("wrapSquare") || m_x.is("wrapTight") || m_x.is("wrapThrough")) {
                object.wrap = m_x.is("wrapSquare")  ? WrapType::Square
                              : m_x.is("wrapTight") ? WrapType::Tight
                                                    : WrapType::Through;
                const QStringView side = m_x.attr("wrapText");
                object.wrapSide = side == u"left"      ? WrapSide::Left
                                  : side == u"right"   ? WrapSide::Right
                                  : side == u"largest" ? WrapSide::Largest
                                                       : WrapSide::Both;
            } else if (m_x.is("wrapTopAndBottom")) {
                object.wrap = WrapType::TopAndBottom;
            } else if (m_x.is("graphic")) {
                readGraphic(m_x.depth(), &imageId, &textBox);
            }
        }
        if (inlined && textBox == 0) {
            if (imageId.isEmpty())
                continue;
            QTextImageFormat f;
            f.merge(format);
            f.setObjectType(QTextFormat::ImageObject);
            f.setName(imageId);
            f.setProperty(ModelProperty::ImageId, imageId);
            f.setWidth(object.size.width());
            f.setHeight(object.size.height());
            insertObject(f);
            continue;
        }
        if (inlined)
            object.wrap = WrapType::TopAndBottom;
        object.kind = textBox != 0 ? FloatingObject::Kind::TextBox : FloatingObject::Kind::Picture;
        object.textBoxStory = textBox;
        object.imageId = imageId;
        if (textBox == 0 && imageId.isEmpty())
            continue; // a shape without text or picture: nothing the model shows
        QTextCharFormat f = format;
        f.setObjectType(FloatingObjectTextFormat);
        f.setProperty(ModelProperty::FloatingObjectId,
                      m_reader.document()->addFloatingObject(object));
        insertObject(f);
    }
}

// A VML length ("72pt", "1in", "2.5cm") in twips.
static int cssLength(QStringView value)
{
    static const struct
    {
        const char *unit;
        double twips;
    } units[] = {{"pt", 20}, {"in", 1440}, {"cm", 1440 / 2.54}, {"mm", 144 / 2.54}, {"px", 15}};
    for (const auto &u : units) {
        if (value.endsWith(QLatin1String(u.unit)))
            return int(value.chopped(2).toDouble() * u.twips);
    }
    return int(value.toDouble() * 20 / 12700.0 * 635); // plain numbers are EMU
}

void DocxStoryReader::readPicture(const QTextCharFormat &format)
{
    // VML: the first shape's style gives size and position.
    FloatingObject object;
    bool absolute = false;
    QString imageId;
    int textBox = 0;
    std::function<void(int)> walk = [&](int depth) {
        while (!m_reader.failed() && m_x.nextChild(depth)) {
            const QStringView style = m_x.attr("style");
            if (!style.isEmpty() && (m_x.is("shape") || m_x.is("rect") || m_x.is("roundrect"))) {
                for (QStringView item : style.split(u';')) {
                    const qsizetype colon = item.indexOf(u':');
                    if (colon < 0)
                        continue;
                    const QStringView key = item.left(colon).trimmed();
                    const QStringView value = item.mid(colon + 1).trimmed();
                    if (key == u"width")
                        object.size.setWidth(cssLength(value));
                    else if (key == u"height")
                        object.size.setHeight(cssLength(value));
                    else if (key == u"margin-left")
                        object.horizontalOffset = cssLength(value);
                    else if (key == u"margin-top")
                        object.verticalOffset = cssLength(value);
                    else if (key == u"position")
                        absolute = value == u"absolute";
                }
            }
            if (m_x.is("imagedata")) {
                if (imageId.isEmpty())
                    imageId = m_reader.imageId(m_part, m_x.attr("id"));
            } else if (m_x.is("txbxContent")) {
                if (textBox == 0)
                    textBox = readTextBox();
            } else {
                walk(m_x.depth());
            }
        }
    };
    walk(m_x.depth());
    if (textBox == 0 && !absolute && !imageId.isEmpty()) {
        QTextImageFormat f;
        f.merge(format);
        f.setObjectType(QTextFormat::ImageObject);
        f.setName(imageId);
        f.setProperty(ModelProperty::ImageId, imageId);
        f.setWidth(object.size.width());
        f.setHeight(object.size.height());
        insertObject(f);
        return;
    }
    if (textBox == 0 && imageId.isEmpty())
        return;
    object.kind = textBox != 0 ? FloatingObject::Kind::TextBox : FloatingObject::Kind::Picture;
    object.textBoxStory = textBox;
    object.imageId = imageId;
    object.wrap = WrapType::Square;
    object.horizontalRelativeTo = HorizontalRelativeTo::Column;
    object.verticalRelativeTo = VerticalRelativeTo::Paragraph;
    QTextCharFormat f = format;
    f.setObjectType(FloatingObjectTextFormat);
    f.setProperty(ModelProperty::FloatingObjectId, m_reader.document()->addFloatingObject(object));
    insertObject(f);
}

} // namespace formats
