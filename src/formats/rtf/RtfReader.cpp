#include "RtfReader.h"

#include "richedit/model/ModelProperty.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>

#include <cctype>

namespace formats {

using namespace richedit;

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

RtfReader::RtfReader(const QByteArray &bytes, RichEditDocument *document)
    : m_tokens(bytes), m_size(bytes.size()), m_doc(document)
{
}

static int codepageOfCharset(int charset, int fallback)
{
    switch (charset) {
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return fallback;
    }
}

QString RtfReader::decodeBytes()
{
    int codepage = m_codepage;
    if (m_fonts.contains(m_state.font))
        codepage = codepageOfCharset(m_fonts.value(m_state.font).charset, m_codepage);
    QString text;
    if (m_fonts.value(m_state.font).charset == 2) {
        // Symbol fonts: the byte is the glyph, shown through the private use area.
        for (char c : std::as_const(m_bytes))
            text += QChar(0xF000 + uchar(c));
    } else {
        const QByteArray name = codepage == 932   ? QByteArray("Shift_JIS")
                                : codepage == 936 ? QByteArray("GBK")
                                : codepage == 949 ? QByteArray("EUC-KR")
                                : codepage == 950 ? QByteArray("Big5")
                                                  : "windows-" + QByteArray::number(codepage);
        QStringDecoder decoder(name.constData());
        text = decoder.isValid() ? decoder.decode(m_bytes) : QString::fromLatin1(m_bytes);
    }
    m_bytes.clear();
    return text;
}

void RtfReader::flushBytes()
{
    if (!m_bytes.isEmpty())
        text(decodeBytes());
}

bool RtfReader::read()
{
    const qsizetype size = m_size;
    if (size > MaxSize) {
        m_error = tr("the document is larger than %1 MB").arg(MaxSize >> 20);
        return false;
    }
    RtfToken first = m_tokens.next();
    RtfToken second = m_tokens.next();
    if (first.type != RtfToken::GroupStart || second.type != RtfToken::Control ||
        second.word != "rtf") {
        m_error = tr("the file does not start with {\\rtf");
        return false;
    }
    m_doc->clear();
    m_cursor = QTextCursor(m_doc->mainStory());
    m_doc->mainStory()->setUndoRedoEnabled(false);
    // RTF's own defaults: 12 pt text, single spacing, no paragraph spacing.
    m_defaultChar.setFontPointSize(12);
    m_defaultBlock.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
    m_defaultBlock.setProperty(ModelProperty::LineSpacingValue, 1.0);
    m_state.paragraphStyle = StyleSheet::normalStyleName();
    m_stack.append(m_state);
    while (m_error.isEmpty()) {
        const RtfToken t = m_tokens.next();
        if (t.type == RtfToken::End)
            break; // missing closing braces: what was read stands
        if (t.type == RtfToken::Error) {
            m_error = m_tokens.error();
            break;
        }
        if (t.type != RtfToken::HexByte && t.type != RtfToken::Text)
            flushBytes();
        switch (t.type) {
        case RtfToken::GroupStart:
            if (m_stack.size() >= MaxDepth) {
                m_error = tr("groups nest deeper than %1 levels at byte %2")
                              .arg(MaxDepth)
                              .arg(m_tokens.offset());
                break;
            }
            m_stack.append(m_state);
            m_state.ignorable = false;
            m_skip = 0;
            if (m_state.destination == Destination::StyleSheet) {
                m_state.destination = Destination::StyleEntry;
                m_state.chars = QTextCharFormat();
                m_state.para = QTextBlockFormat();
            } else if (m_state.destination == Destination::FontTable) {
                m_fontName.clear();
            }
            break;
        case RtfToken::GroupEnd: {
            if (m_stack.size() <= 1) {
                // The closing brace of the document or a stray one: stop here.
                m_stack.clear();
                break;
            }
            const State closed = m_state;
            m_state = m_stack.takeLast();
            m_skip = 0;
            if (closed.destination == Destination::FontTable && m_fontNumber >= 0 &&
                !m_fontName.trimmed().isEmpty())
                m_fonts.insert(m_fontNumber, {m_fontName.trimmed(), m_fontCharset});
            endGroup(closed);
            break;
        }
        case RtfToken::Control:
            if (m_skip > 0 && t.word != "bin") {
                --m_skip;
                break;
            }
            control(t);
            break;
        case RtfToken::Text:
            if (m_skip > 0) {
                const int n = qMin<int>(m_skip, int(t.data.size()));
                m_skip -= n;
                if (!t.data.isEmpty())
                    text(QString::fromLatin1(t.data.mid(n)));
            } else if (m_state.destination == Destination::Picture) {
                m_picture += t.data;
            } else {
                // Plain text bytes are in the document's code page too.
                m_bytes += t.data;
                flushBytes();
            }
            break;
        case RtfToken::HexByte:
            if (m_skip > 0)
                --m_skip;
            else if (m_state.destination == Destination::Picture)
                m_picture += QByteArray::number(uchar(t.data.at(0)), 16).rightJustified(2, '0');
            else
                m_bytes += t.data;
            break;
        case RtfToken::Binary:
            if (m_state.destination == Destination::Picture)
                m_picture = t.data.toHex();
            break;
        default:
            break;
        }
        if (m_stack.isEmpty())
            break;
    }
    if (!m_error.isEmpty()) {
        m_doc->mainStory()->setUndoRedoEnabled(true);
        return false;
    }
    flushBytes();
    leaveTable();
    // A final \par ends the last paragraph; it starts no empty one.
    flush();
    if (m_cursor.block().length() == 1 && m_cursor.block().previous().isValid() &&
        !QTextCursor(m_cursor.block().previous()).currentTable() &&
        !m_cursor.block().previous().blockFormat().hasProperty(ModelProperty::SectionBreak)) {
        m_cursor.deletePreviousChar();
    } else {
        finishParagraph();
    }

    StyleSheet &styles = m_doc->styles();
    styles.setDefaultCharFormat(m_defaultChar);
    styles.setDefaultBlockFormat(m_defaultBlock);
    for (auto &[build, style] : m_styles) {
        style.basedOn = m_styleNames.value(build.basedOn);
        style.next = m_styleNames.value(build.next);
        if (const Style *existing = styles.find(style.name)) {
            style.builtIn = existing->builtIn;
            if (style.outlineLevel < 0)
                style.outlineLevel = existing->outlineLevel;
        }
        styles.setStyle(style);
    }
    for (const auto &[name, range] : std::as_const(m_bookmarks))
        m_doc->addBookmark(name, range);
    m_doc->setFinalSectionProperties(m_section);
    m_doc->applySettings(m_settings);
    m_doc->mainStory()->setUndoRedoEnabled(true);
    m_doc->notifyReset();
    return true;
}

bool RtfReader::destinationWord(const QByteArray &w)
{
    static const QByteArrayList skipped = {
        "header",       "headerl",  "headerr",    "headerf",   "footer",
        "footerl",      "footerr",  "footerf",    "footnote",  "annotation",
        "pntext",       "listtext", "nonshppict", "pn",        "levelnumbers",
        "listname",     "rsidtbl",  "xmlnstbl",   "themedata", "colorschememapping",
        "latentstyles", "datastore"};
    State &s = m_state;
    if (skipped.contains(w)) {
        s.destination = Destination::Skip;
    } else if (w == "fonttbl") {
        s.destination = Destination::FontTable;
    } else if (w == "colortbl") {
        s.destination = Destination::ColorTable;
    } else if (w == "stylesheet") {
        s.destination = Destination::StyleSheet;
    } else if (w == "listtable") {
        s.destination = Destination::ListTable;
    } else if (w == "listoverridetable") {
        s.destination = Destination::OverrideTable;
    } else if (w == "leveltext") {
        s.destination = Destination::LevelText;
        m_levelText.clear();
    } else if (w == "info") {
        s.destination = Destination::Info;
    } else if (w == "title" || w == "subject" || w == "author" || w == "keywords" ||
               w == "doccomm" || w == "operator") {
        DocumentProperties &p = m_settings.properties;
        s.destination = Destination::Collect;
        s.target = w == "title"      ? &p.title
                   : w == "subject"  ? &p.subject
                   : w == "author"   ? &p.creator
                   : w == "keywords" ? &p.keywords
                   : w == "doccomm"  ? &p.description
                                     : &p.lastModifiedBy;
    } else if (w == "pict") {
        s.destination = Destination::Picture;
        m_picture.clear();
        m_pictureType.clear();
        m_picW = m_picH = m_picGoalW = m_picGoalH = 0;
        m_scaleX = m_scaleY = 100;
    } else if (w == "field") {
        m_fields.append(FieldBuild{});
        s.field = int(m_fields.size()) - 1;
    } else if (w == "fldinst") {
        s.destination = s.field >= 0 ? Destination::FieldInstruction : Destination::Skip;
    } else if (w == "fldrslt") {
        if (s.field >= 0 && s.destination == Destination::Text) {
            FieldBuild &f = m_fields[s.field];
            if (f.id == 0) {
                Field field;
                field.instruction = f.instruction;
                field.locked = f.locked;
                f.id = m_doc->addField(field);
            }
            s.fieldId = f.id;
        }
    } else if (w == "bkmkstart" || w == "bkmkend") {
        s.destination = Destination::Collect;
        s.bookmark = w == "bkmkstart" ? 1 : 2;
        s.target = &m_collected;
        m_collected.clear();
    } else if (w == "defchp") {
        s.destination = Destination::DefaultChar;
        s.chars = QTextCharFormat();
    } else if (w == "defpap") {
        s.destination = Destination::DefaultParagraph;
        s.para = QTextBlockFormat();
    } else if (w == "shppict" || w == "shprslt" || w == "result") {
        // Content: their pictures and text are the document's.
    } else {
        return false;
    }
    return true;
}

void RtfReader::characterWord(const QByteArray &w, int v, bool has, QTextCharFormat *c)
{
    const bool on = !has || v != 0;
    auto color = [this](int index) {
        return index > 0 && index < m_colors.size() ? m_colors[index] : QColor();
    };
    if (w == "b") {
        c->setFontWeight(on ? QFont::Bold : QFont::Normal);
    } else if (w == "i") {
        c->setFontItalic(on);
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" ||
               w == "ulth" || w == "ulwave") {
        c->setFontUnderline(on);
    } else if (w == "ulnone") {
        c->setFontUnderline(false);
    } else if (w == "strike" || w == "striked") {
        c->setFontStrikeOut(on);
    } else if (w == "fs") {
        if (has && v > 0)
            c->setFontPointSize(qBound(1, v, 3276) / 2.0);
    } else if (w == "f") {
        m_state.font = v;
        if (m_fonts.contains(v) && !m_fonts.value(v).name.isEmpty())
            c->setFontFamilies({m_fonts.value(v).name});
    } else if (w == "cf") {
        const QColor col = color(v);
        if (col.isValid())
            c->setForeground(col);
        else
            c->clearForeground();
    } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
        const QColor col = color(v);
        if (col.isValid())
            c->setBackground(col);
        else
            c->clearBackground();
    } else if (w == "super") {
        c->setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (w == "sub") {
        c->setVerticalAlignment(QTextCharFormat::AlignSubScript);
    } else if (w == "nosupersub") {
        c->setVerticalAlignment(QTextCharFormat::AlignNormal);
    } else if (w == "caps") {
        c->setFontCapitalization(on ? QFont::AllUppercase : QFont::MixedCase);
    } else if (w == "scaps") {
        c->setFontCapitalization(on ? QFont::SmallCaps : QFont::MixedCase);
    } else if (w == "v") {
        c->setProperty(ModelProperty::Hidden, on);
    } else if (w == "expndtw") {
        c->setFontLetterSpacingType(QFont::AbsoluteSpacing);
        c->setFontLetterSpacing(v / 20.0);
    } else if (w == "plain") {
        *c = QTextCharFormat();
        m_state.font = m_defaultFont;
        if (m_fonts.contains(m_defaultFont) && !m_fonts.value(m_defaultFont).name.isEmpty())
            c->setFontFamilies({m_fonts.value(m_defaultFont).name});
        m_state.characterStyle.clear();
    } else if (w == "cs") {
        if (m_state.destination == Destination::StyleEntry) {
            m_styleEntry.number = v;
            m_styleEntry.type = StyleType::Character;
        } else {
            m_state.characterStyle = m_styleNames.value(v);
        }
    }
}

bool RtfReader::paragraphWord(const QByteArray &w, int v, bool has, State &s)
{
    QTextBlockFormat &p = s.para;
    const bool on = !has || v != 0;
    if (w == "pard") {
        p = QTextBlockFormat();
        s.inTable = false;
        s.paragraphStyle = StyleSheet::normalStyleName();
        m_cellEdge = -1;
    } else if (w == "ql" || w == "qc" || w == "qr" || w == "qj" || w == "qd") {
        p.setAlignment(w == "qc"   ? Qt::AlignHCenter
                       : w == "qr" ? Qt::AlignRight
                       : w == "ql" ? Qt::AlignLeft
                                   : Qt::AlignJustify);
    } else if (w == "li" || w == "lin") {
        p.setLeftMargin(v);
    } else if (w == "ri" || w == "rin") {
        p.setRightMargin(v);
    } else if (w == "fi") {
        p.setTextIndent(v);
    } else if (w == "sb") {
        p.setTopMargin(v);
    } else if (w == "sa") {
        p.setBottomMargin(v);
    } else if (w == "sl") {
        if (v == 0) {
            p.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
            p.setProperty(ModelProperty::LineSpacingValue, 1.0);
        } else {
            p.setProperty(ModelProperty::LineSpacingRule,
                          int(v < 0 ? LineSpacing::Exactly : LineSpacing::AtLeast));
            p.setProperty(ModelProperty::LineSpacingValue, double(qAbs(v)));
        }
    } else if (w == "slmult") {
        if (on && p.intProperty(ModelProperty::LineSpacingRule) == int(LineSpacing::AtLeast) &&
            p.hasProperty(ModelProperty::LineSpacingRule)) {
            p.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
            p.setProperty(
                ModelProperty::LineSpacingValue,
                qBound(0.06, p.doubleProperty(ModelProperty::LineSpacingValue) / 240.0, 132.0));
        }
    } else if (w == "keepn") {
        p.setProperty(ModelProperty::KeepWithNext, on);
    } else if (w == "keep") {
        p.setProperty(ModelProperty::KeepLinesTogether, on);
    } else if (w == "pagebb") {
        p.setPageBreakPolicy(on ? QTextFormat::PageBreak_AlwaysBefore
                                : QTextFormat::PageBreak_Auto);
    } else if (w == "widctlpar" || w == "nowidctlpar") {
        p.setProperty(ModelProperty::WidowControl, w == "widctlpar");
    } else if (w == "intbl") {
        s.inTable = true;
    } else if (w == "ls") {
        if (m_doc->lists().instance(v))
            p.setProperty(ModelProperty::ListInstance, v);
    } else if (w == "ilvl") {
        p.setProperty(ModelProperty::ListLevel, qBound(0, v, ListTable::LevelCount - 1));
    } else if (w == "s") {
        if (s.destination == Destination::StyleEntry) {
            m_styleEntry.number = v;
            m_styleEntry.type = StyleType::Paragraph;
        } else {
            s.paragraphStyle = m_styleNames.value(v, StyleSheet::normalStyleName());
        }
    } else {
        return false;
    }
    return true;
}

bool RtfReader::sectionWord(const QByteArray &w, int v)
{
    SectionProperties &s = m_section;
    // Document-wide page setup also sets the section being read.
    auto both = [&](auto apply) {
        apply(m_documentSection);
        apply(m_section);
    };
    if (w == "paperw") {
        both([v](SectionProperties &p) { p.pageWidth = qBound(720, v, 31680); });
    } else if (w == "paperh") {
        both([v](SectionProperties &p) { p.pageHeight = qBound(720, v, 31680); });
    } else if (w == "margl") {
        both([v](SectionProperties &p) { p.margins.left = v; });
    } else if (w == "margr") {
        both([v](SectionProperties &p) { p.margins.right = v; });
    } else if (w == "margt") {
        both([v](SectionProperties &p) { p.margins.top = v; });
    } else if (w == "margb") {
        both([v](SectionProperties &p) { p.margins.bottom = v; });
    } else if (w == "landscape") {
        both([](SectionProperties &p) { p.orientation = PageOrientation::Landscape; });
    } else if (w == "deftab") {
        m_settings.defaultTabStop = qMax(1, v);
    } else if (w == "sectd") {
        s = m_documentSection;
    } else if (w == "sbknone" || w == "sbkcol" || w == "sbkpage" || w == "sbkeven" ||
               w == "sbkodd") {
        s.breakType = w == "sbknone"   ? SectionBreakType::Continuous
                      : w == "sbkcol"  ? SectionBreakType::Column
                      : w == "sbkeven" ? SectionBreakType::EvenPage
                      : w == "sbkodd"  ? SectionBreakType::OddPage
                                       : SectionBreakType::NextPage;
    } else if (w == "pgwsxn") {
        s.pageWidth = qBound(720, v, 31680);
    } else if (w == "pghsxn") {
        s.pageHeight = qBound(720, v, 31680);
    } else if (w == "marglsxn") {
        s.margins.left = v;
    } else if (w == "margrsxn") {
        s.margins.right = v;
    } else if (w == "margtsxn") {
        s.margins.top = v;
    } else if (w == "margbsxn") {
        s.margins.bottom = v;
    } else if (w == "guttersxn") {
        s.margins.gutter = v;
    } else if (w == "headery") {
        s.headerDistance = v;
    } else if (w == "footery") {
        s.footerDistance = v;
    } else if (w == "lndscpsxn") {
        s.orientation = PageOrientation::Landscape;
    } else if (w == "cols") {
        s.columns.count = qBound(1, v, 45);
    } else if (w == "colsx") {
        s.columns.spacing = v;
    } else if (w == "linemod") {
        s.lineNumbering.countBy = qMax(1, v);
        if (s.lineNumbering.restart == LineNumberRestart::None)
            s.lineNumbering.restart = LineNumberRestart::EachPage;
    } else if (w == "linex") {
        s.lineNumbering.distance = v;
    } else if (w == "linestarts") {
        s.lineNumbering.start = v;
    } else if (w == "linerestart" || w == "lineppage" || w == "linecont") {
        s.lineNumbering.restart = w == "linerestart" ? LineNumberRestart::EachSection
                                  : w == "lineppage" ? LineNumberRestart::EachPage
                                                     : LineNumberRestart::Continuous;
    } else if (w == "titlepg") {
        s.differentFirstPage = true;
    } else if (w == "pgnstarts") {
        s.pageNumberStart = v;
    } else if (w == "facingp") {
        m_settings.evenAndOddHeaders = true;
    } else {
        return false;
    }
    return true;
}

bool RtfReader::tableWord(const QByteArray &w, int v)
{
    if (w == "trowd") {
        m_rowDef.clear();
        m_cellDef = CellDef();
        m_cellEdge = -1;
        m_rowHeight = 0;
        m_rowHeader = false;
        m_rowKeep = false;
    } else if (w == "cellx") {
        m_cellDef.right = v;
        m_rowDef.append(m_cellDef);
        m_cellDef = CellDef();
        m_cellEdge = -1;
    } else if (w == "clmgf") {
        m_cellDef.mergeFirst = true;
    } else if (w == "clmrg") {
        m_cellDef.merged = true;
    } else if (w == "clvmgf") {
        m_cellDef.vmergeFirst = true;
    } else if (w == "clvmrg") {
        m_cellDef.vmerged = true;
    } else if (w == "clcbpat") {
        m_cellDef.shading = v > 0 && v < m_colors.size() ? m_colors[v] : QColor();
    } else if (w == "clvertalc" || w == "clvertalb" || w == "clvertalt") {
        m_cellDef.vAlign = w == "clvertalc" ? 1 : w == "clvertalb" ? 2 : 0;
    } else if (w == "clbrdrt" || w == "clbrdrl" || w == "clbrdrb" || w == "clbrdrr") {
        m_cellEdge = w == "clbrdrt" ? 0 : w == "clbrdrl" ? 1 : w == "clbrdrb" ? 2 : 3;
        m_cellDef.border[m_cellEdge] = 15;
        m_cellDef.borderColor[m_cellEdge] = Qt::black;
    } else if (w == "brdrw") {
        if (m_cellEdge >= 0)
            m_cellDef.border[m_cellEdge] = qMax(1, v);
    } else if (w == "brdrnone" || w == "brdrnil") {
        if (m_cellEdge >= 0)
            m_cellDef.border[m_cellEdge] = 0;
    } else if (w == "brdrcf") {
        if (m_cellEdge >= 0 && v > 0 && v < m_colors.size())
            m_cellDef.borderColor[m_cellEdge] = m_colors[v];
    } else if (w == "brdrt" || w == "brdrl" || w == "brdrb" || w == "brdrr" || w == "box") {
        m_cellEdge = -1; // paragraph borders: not in the model
    } else if (w == "trrh") {
        m_rowHeight = v;
    } else if (w == "trhdr") {
        m_rowHeader = true;
    } else if (w == "trkeep") {
        m_rowKeep = true;
    } else if (w == "cell") {
        endCell();
    } else if (w == "row") {
        endRow();
    } else if (w == "nestcell") {
        text(QStringLiteral("\t"));
    } else if (w == "nestrow") {
        paragraphBreak();
    } else {
        return false;
    }
    return true;
}

void RtfReader::control(const RtfToken &t)
{
    const QByteArray &w = t.word;
    State &s = m_state;
    if (w == "*") {
        s.ignorable = true;
        return;
    }
    if (s.destination == Destination::Skip)
        return;
    if (w == "u") {
        const int code = t.parameter < 0 ? t.parameter + 65536 : t.parameter;
        text(QString(QChar(char16_t(code))));
        m_skip = s.unicodeSkip;
        return;
    }
    if (w == "uc") {
        s.unicodeSkip = qBound(0, t.parameter, 8);
        return;
    }
    // \* marks only the word right after it.
    const bool ignorable = s.ignorable;
    s.ignorable = false;
    if (destinationWord(w) || s.destination == Destination::Info)
        return;
    if (ignorable && !(s.destination == Destination::StyleEntry && (w == "cs" || w == "ts"))) {
        // An unknown \* destination: its whole group is skipped.
        s.destination = Destination::Skip;
        return;
    }
    if (listWord(w, t.parameter))
        return;
    switch (s.destination) {
    case Destination::FontTable:
        if (w == "f") {
            m_fontNumber = t.parameter;
            m_fontName.clear();
            m_fontCharset = 0;
        } else if (w == "fcharset") {
            m_fontCharset = t.parameter;
        }
        return;
    case Destination::ColorTable:
        if (w == "red")
            m_red = qBound(0, t.parameter, 255);
        else if (w == "green")
            m_green = qBound(0, t.parameter, 255);
        else if (w == "blue")
            m_blue = qBound(0, t.parameter, 255);
        return;
    case Destination::Picture:
        if (w == "pngblip")
            m_pictureType = QStringLiteral("png");
        else if (w == "jpegblip")
            m_pictureType = QStringLiteral("jpeg");
        else if (w == "emfblip")
            m_pictureType = QStringLiteral("emf");
        else if (w == "wmetafile")
            m_pictureType = QStringLiteral("wmf");
        else if (w == "dibitmap" || w == "wbitmap")
            m_pictureType = QStringLiteral("bmp");
        else if (w == "picw")
            m_picW = t.parameter;
        else if (w == "pich")
            m_picH = t.parameter;
        else if (w == "picwgoal")
            m_picGoalW = t.parameter;
        else if (w == "pichgoal")
            m_picGoalH = t.parameter;
        else if (w == "picscalex")
            m_scaleX = qBound(1, t.parameter, 1000);
        else if (w == "picscaley")
            m_scaleY = qBound(1, t.parameter, 1000);
        return;
    case Destination::Collect:
    case Destination::FieldInstruction:
        return;
    default:
        break;
    }
    if (s.destination == Destination::StyleSheet)
        return;
    if (w == "ansicpg") {
        m_codepage = t.parameter;
    } else if (w == "deff") {
        m_defaultFont = t.parameter;
        s.font = t.parameter;
    } else if (w == "fldlock") {
        if (s.field >= 0)
            m_fields[s.field].locked = true;
    } else if (w == "sbasedon" && s.destination == Destination::StyleEntry) {
        m_styleEntry.basedOn = t.parameter;
    } else if (w == "snext" && s.destination == Destination::StyleEntry) {
        m_styleEntry.next = t.parameter;
    } else if (w == "ts" && s.destination == Destination::StyleEntry) {
        m_styleEntry.number = t.parameter;
        m_styleEntry.type = StyleType::Table;
    } else if (w == "par" || w == "\n") {
        paragraphBreak();
    } else if (w == "line") {
        text(QString(QChar::LineSeparator));
    } else if (w == "tab") {
        text(QStringLiteral("\t"));
    } else if (w == "page") {
        breakBefore(true);
    } else if (w == "column") {
        breakBefore(false);
    } else if (w == "sect") {
        sectionBreak();
    } else if (w == "emdash" || w == "endash" || w == "bullet" || w == "lquote" || w == "rquote" ||
               w == "ldblquote" || w == "rdblquote" || w == "~" || w == "-" || w == "_") {
        static const QHash<QByteArray, char16_t> chars = {
            {"emdash", 0x2014}, {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
            {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"~", 0x00A0},
            {"-", 0x00AD},      {"_", 0x2011}};
        text(QString(QChar(chars.value(w))));
    } else if (!paragraphWord(w, t.parameter, t.hasParameter, s) && !sectionWord(w, t.parameter) &&
               !tableWord(w, t.parameter)) {
        characterWord(w, t.parameter, t.hasParameter, &s.chars);
    }
}

void RtfReader::text(const QString &t)
{
    if (t.isEmpty())
        return;
    State &s = m_state;
    switch (s.destination) {
    case Destination::Skip:
    case Destination::Picture:
    case Destination::StyleSheet:
    case Destination::ColorTable:
        if (s.destination == Destination::ColorTable && t.contains(u';')) {
            for (QChar c : t) {
                if (c != u';')
                    continue;
                m_colors.append(m_red >= 0 ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = -1;
                m_green = m_blue = 0;
            }
        }
        return;
    case Destination::FontTable:
        for (QChar c : t) {
            if (c == u';') {
                if (m_fontNumber >= 0)
                    m_fonts.insert(m_fontNumber, {m_fontName.trimmed(), m_fontCharset});
                m_fontName.clear();
            } else {
                m_fontName += c;
            }
        }
        return;
    case Destination::StyleEntry:
        m_styleEntry.name += t;
        return;
    case Destination::Collect:
        *s.target += t;
        return;
    case Destination::FieldInstruction:
        m_fields[s.field].instruction += t;
        return;
    case Destination::LevelText:
        m_levelText += t;
        return;
    case Destination::DefaultChar:
    case Destination::DefaultParagraph:
    case Destination::Info:
    case Destination::ListTable:
    case Destination::ListEntry:
    case Destination::ListLevel:
    case Destination::OverrideTable:
    case Destination::OverrideEntry:
        return;
    case Destination::Text:
        break;
    }
    if (s.inTable)
        enterTable();
    else
        leaveTable();
    appendText(t);
}

void RtfReader::endGroup(const State &closed)
{
    // Only the group that opened a destination finishes it.
    const bool opened = closed.destination != m_state.destination;
    switch (opened ? closed.destination : Destination::Text) {
    case Destination::FontTable:
        // The default font is known now.
        if (m_fonts.contains(m_defaultFont))
            m_defaultChar.setFontFamilies({m_fonts.value(m_defaultFont).name});
        break;
    case Destination::StyleEntry: {
        Style style;
        style.type = m_styleEntry.type;
        style.name = m_styleEntry.name.trimmed();
        if (style.name.endsWith(u';'))
            style.name.chop(1);
        style.name = style.name.trimmed();
        if (!style.name.isEmpty()) {
            // Word's built-in names are lower case ("heading 1").
            for (const Style &s : m_doc->styles().styles()) {
                if (s.builtIn && s.name.compare(style.name, Qt::CaseInsensitive) == 0)
                    style.name = s.name;
            }
            style.charFormat = closed.chars;
            style.blockFormat = closed.para;
            m_styleNames.insert(m_styleEntry.number, style.name);
            m_styles.append({m_styleEntry, style});
        }
        m_styleEntry = StyleBuild();
        break;
    }
    case Destination::Picture:
        insertPicture();
        break;
    case Destination::Collect:
        if (closed.bookmark != 0) {
            const QString name = m_collected.trimmed();
            if (closed.bookmark == 1) {
                m_bookmarkStarts.insert(name, position());
            } else if (m_bookmarkStarts.contains(name)) {
                const int start = m_bookmarkStarts.take(name);
                m_bookmarks.append({name, {MainStoryId, start, position() - start}});
            }
        }
        break;
    case Destination::DefaultChar:
        m_defaultChar.merge(closed.chars);
        break;
    case Destination::LevelText:
        finishLevelText();
        break;
    case Destination::ListLevel:
        if (m_levelIndex < ListTable::LevelCount)
            m_list.levels[m_levelIndex++] = m_level;
        break;
    case Destination::ListEntry:
        m_abstractIds.insert(m_listId, m_doc->lists().addAbstract(m_list));
        break;
    case Destination::OverrideEntry:
        if (m_abstractIds.contains(m_overrideList) && m_overrideNumber > 0) {
            ListInstance instance;
            instance.id = m_overrideNumber;
            instance.abstractId = m_abstractIds.value(m_overrideList);
            m_doc->lists().addInstance(instance);
        }
        break;
    case Destination::DefaultParagraph:
        m_defaultBlock.merge(closed.para);
        break;
    default:
        break;
    }
    // A field without a result still counts as a field of the document.
    if (closed.field >= 0 && m_state.field != closed.field) {
        FieldBuild &f = m_fields[closed.field];
        if (f.id == 0) {
            Field field;
            field.instruction = f.instruction;
            f.id = m_doc->addField(field);
        }
    }
}

QTextCharFormat RtfReader::runFormat() const
{
    QTextCharFormat f = m_defaultChar;
    f.merge(m_state.chars);
    if (!m_state.characterStyle.isEmpty())
        f.setProperty(ModelProperty::CharacterStyle, m_state.characterStyle);
    if (m_state.fieldId != 0) {
        f.setProperty(ModelProperty::FieldId, m_state.fieldId);
        const Field *field = m_doc->field(m_state.fieldId);
        if (field && field->type == FieldType::Hyperlink) {
            const QString href =
                field->hasSwitch(u'l') ? u'#' + field->switchValue(u'l') : field->argument();
            if (!href.isEmpty()) {
                f.setAnchor(true);
                f.setAnchorHref(href);
            }
        }
    }
    return f;
}

QTextBlockFormat RtfReader::blockFormat() const
{
    QTextBlockFormat f = m_defaultBlock;
    f.merge(m_state.para);
    f.setProperty(ModelProperty::ParagraphStyle, m_state.paragraphStyle);
    return f;
}

void RtfReader::appendText(const QString &text)
{
    const QTextCharFormat format = runFormat();
    if (!m_pending.isEmpty() && format != m_pendingFormat)
        flush();
    if (m_pending.isEmpty())
        m_pendingFormat = format;
    m_pending += text;
}

void RtfReader::flush()
{
    if (m_pending.isEmpty())
        return;
    m_cursor.insertText(m_pending, m_pendingFormat);
    m_pending.clear();
}

int RtfReader::position()
{
    flush();
    return m_cursor.position();
}

void RtfReader::finishParagraph()
{
    flush();
    QTextBlockFormat f = blockFormat();
    if (m_pageBreakNext)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (m_columnBreakNext)
        f.setProperty(ModelProperty::ColumnBreakBefore, true);
    m_pageBreakNext = m_columnBreakNext = false;
    m_cursor.setBlockFormat(f);
    // The first paragraph of a cell holds the cell's format as its own.
    const QTextTable *table = m_cursor.currentTable();
    if (!table ||
        table->cellAt(m_cursor.block().position()).firstPosition() != m_cursor.block().position())
        m_cursor.setBlockCharFormat(runFormat());
}

void RtfReader::paragraphBreak()
{
    if (m_state.destination != Destination::Text)
        return;
    if (m_state.inTable)
        enterTable();
    else
        leaveTable();
    finishParagraph();
    m_cursor.insertBlock(blockFormat(), runFormat());
}

void RtfReader::breakBefore(bool page)
{
    flush();
    if (m_cursor.block().length() > 1) {
        finishParagraph();
        m_cursor.insertBlock(blockFormat(), runFormat());
    }
    (page ? m_pageBreakNext : m_columnBreakNext) = true;
}

void RtfReader::sectionBreak()
{
    leaveTable();
    flush();
    QTextBlock end = m_cursor.block();
    if (end.length() == 1 && end.previous().isValid() &&
        !QTextCursor(end.previous()).currentTable() &&
        !end.previous().blockFormat().hasProperty(ModelProperty::SectionBreak)) {
        end = end.previous();
    } else {
        finishParagraph();
        m_cursor.insertBlock(blockFormat(), runFormat());
    }
    m_doc->setSectionBreakBlock(end, m_section);
}

// ---- tables

void RtfReader::enterTable()
{
    if (m_table && !m_rowDone) {
        if (m_nextCell) {
            // The cell after a \cell starts when something goes into it.
            flush();
            if (m_column >= m_table->columns())
                m_table->appendColumns(m_column - m_table->columns() + 1);
            m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
            m_nextCell = false;
        }
        return;
    }
    flush();
    if (!m_table) {
        // The table takes the place of the empty paragraph it starts in.
        if (m_cursor.block().length() == 1 && m_cursor.block().previous().isValid() &&
            !QTextCursor(m_cursor.block().previous()).currentTable())
            m_cursor.deletePreviousChar();
        QTextTableFormat tf;
        tf.setBorder(0);
        tf.setCellSpacing(0);
        tf.setCellPadding(0);
        tf.setMargin(0);
        m_table = m_cursor.insertTable(1, qMax(1, int(m_rowDef.size())), tf);
        m_row = 0;
    } else if (++m_row >= m_table->rows()) {
        m_table->appendRows(1);
    }
    m_column = 0;
    m_rowDone = false;
    m_nextCell = false;
    m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
}

void RtfReader::endCell()
{
    if (m_state.destination != Destination::Text)
        return;
    enterTable();
    finishParagraph();
    ++m_column;
    m_nextCell = true;
}

void RtfReader::endRow()
{
    if (!m_table || m_rowDone || m_state.destination != Destination::Text)
        return;
    flush();
    if (m_row == 0) {
        for (int c = 0; c < m_rowDef.size(); ++c)
            m_grid.append(qMax(0, m_rowDef[c].right - (c > 0 ? m_rowDef[c - 1].right : 0)));
    }
    for (int c = 0; c < m_rowDef.size() && c < m_table->columns(); ++c)
        m_cells.append({m_row, c, m_rowDef[c]});
    m_heights.append(m_rowHeight);
    m_cantSplit.append(m_rowKeep);
    if (m_rowHeader && m_headerRows == m_row)
        ++m_headerRows;
    m_rowDone = true;
    m_nextCell = false;
}

void RtfReader::leaveTable()
{
    if (!m_table)
        return;
    flush();
    endRow();
    QTextCursor edit(m_table->firstCursorPosition());
    edit.beginEditBlock();
    for (const Pending &p : std::as_const(m_cells)) {
        QTextTableCell cell = m_table->cellAt(p.row, p.column);
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        const int edges[4] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                              QTextFormat::TableCellBottomBorder,
                              QTextFormat::TableCellRightBorder};
        for (int i = 0; i < 4; ++i) {
            f.setProperty(edges[i], double(p.def.border[i]));
            f.setProperty(edges[i] + 4,
                          int(p.def.border[i] > 0 ? QTextFrameFormat::BorderStyle_Solid
                                                  : QTextFrameFormat::BorderStyle_None));
            f.setProperty(edges[i] + 8, QBrush(p.def.borderColor[i].isValid() ? p.def.borderColor[i]
                                                                              : QColor(Qt::black)));
        }
        f.setLeftPadding(108);
        f.setRightPadding(108);
        if (p.def.shading.isValid())
            f.setBackground(p.def.shading);
        if (p.def.vAlign)
            f.setVerticalAlignment(p.def.vAlign == 1 ? QTextCharFormat::AlignMiddle
                                                     : QTextCharFormat::AlignBottom);
        cell.setFormat(f);
    }
    // Merges once the cells have their formats: a merge keeps the first cell's.
    for (const Pending &p : std::as_const(m_cells)) {
        if (!p.def.mergeFirst && !p.def.vmergeFirst)
            continue;
        int columns = 1;
        while (p.def.mergeFirst && p.column + columns < m_table->columns()) {
            const auto next = std::find_if(m_cells.cbegin(), m_cells.cend(), [&](const Pending &q) {
                return q.row == p.row && q.column == p.column + columns;
            });
            if (next == m_cells.cend() || !next->def.merged)
                break;
            ++columns;
        }
        int rows = 1;
        while (p.def.vmergeFirst && p.row + rows < m_table->rows()) {
            const auto next = std::find_if(m_cells.cbegin(), m_cells.cend(), [&](const Pending &q) {
                return q.row == p.row + rows && q.column == p.column;
            });
            if (next == m_cells.cend() || !next->def.vmerged)
                break;
            ++rows;
        }
        if (rows > 1 || columns > 1)
            m_table->mergeCells(p.row, p.column, rows, columns);
    }
    edit.endEditBlock();
    QTextTableFormat tf = m_table->format();
    QList<QTextLength> widths;
    for (int w : std::as_const(m_grid))
        widths.append(QTextLength(QTextLength::FixedLength, w));
    tf.setColumnWidthConstraints(widths);
    tf.setProperty(ModelProperty::TableAutoFit, int(TableAutoFit::Fixed));
    tf.setProperty(ModelProperty::TableRowHeights, m_heights);
    tf.setProperty(ModelProperty::TableRowCantSplit, m_cantSplit);
    tf.setProperty(ModelProperty::TableHeaderRows, m_headerRows);
    m_table->setFormat(tf);
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_cells.clear();
    m_grid.clear();
    m_heights.clear();
    m_cantSplit.clear();
    m_headerRows = 0;
}

// ---- lists

static NumberFormat numberFormat(int levelnfc)
{
    switch (levelnfc) {
    case 1:
        return NumberFormat::UpperRoman;
    case 2:
        return NumberFormat::LowerRoman;
    case 3:
        return NumberFormat::UpperLetter;
    case 4:
        return NumberFormat::LowerLetter;
    case 5:
        return NumberFormat::Ordinal;
    case 22:
        return NumberFormat::DecimalZero;
    case 23:
        return NumberFormat::Bullet;
    case 255:
        return NumberFormat::None;
    default:
        return NumberFormat::Decimal;
    }
}

bool RtfReader::listWord(const QByteArray &w, int v)
{
    State &s = m_state;
    switch (s.destination) {
    case Destination::ListTable:
        if (w == "list") {
            s.destination = Destination::ListEntry;
            m_list = AbstractList();
            m_list.levels = ListTable::defaultLevels(NumberFormat::Decimal);
            m_levelIndex = 0;
            m_listId = 0;
        }
        return true;
    case Destination::ListEntry:
        if (w == "listlevel") {
            s.destination = Destination::ListLevel;
            m_level = ListLevel();
            m_level.indent = 0;
            m_level.hanging = 0;
        } else if (w == "listid") {
            m_listId = v;
        } else if (w == "listsimple") {
            m_list.multiLevel = false;
        }
        return true;
    case Destination::ListLevel:
        if (w == "levelnfc" || w == "levelnfcn")
            m_level.format = numberFormat(v);
        else if (w == "leveljc" || w == "leveljcn")
            m_level.alignment = v == 1 ? Qt::AlignHCenter : v == 2 ? Qt::AlignRight : Qt::AlignLeft;
        else if (w == "levelstartat")
            m_level.start = v;
        else if (w == "levelfollow")
            m_level.suffix = v == 1 ? QChar(u' ') : v == 2 ? QChar() : QChar(u'\t');
        else if (w == "levellegal")
            m_level.legal = v != 0;
        else if (w == "li" || w == "lin")
            m_level.indent = v;
        else if (w == "fi")
            m_level.hanging = -v;
        else if (w == "f" && m_fonts.contains(v))
            m_level.labelFormat.setFontFamilies({m_fonts.value(v).name});
        return true;
    case Destination::OverrideTable:
        if (w == "listoverride") {
            s.destination = Destination::OverrideEntry;
            m_overrideList = m_overrideNumber = 0;
        }
        return true;
    case Destination::OverrideEntry:
        if (w == "listid")
            m_overrideList = v;
        else if (w == "ls")
            m_overrideNumber = v;
        return true;
    default:
        return false;
    }
}

void RtfReader::finishLevelText()
{
    // A length, then the text with level numbers as characters 0 to 8.
    if (m_levelText.isEmpty())
        return;
    const int length = qMin(int(m_levelText.at(0).unicode()), int(m_levelText.size()) - 1);
    QString text;
    for (int i = 1; i <= length; ++i) {
        const char16_t c = m_levelText.at(i).unicode();
        if (c < 9)
            text += u'%' + QString::number(c + 1);
        else if (c == 0xF0B7 || c == 0xF0FC)
            text += QChar(0x2022); // symbol-font bullets, shown as their Unicode form
        else if (c == 0xF0A7)
            text += QChar(0x25AA);
        else
            text += QChar(c);
    }
    m_level.text = text;
}

// ---- pictures

void RtfReader::insertPicture()
{
    if (m_state.destination != Destination::Text)
        return;
    QByteArray hex;
    hex.reserve(m_picture.size());
    for (char c : std::as_const(m_picture)) {
        if (std::isxdigit(uchar(c)))
            hex += c;
    }
    hex.truncate(hex.size() & ~qsizetype(1)); // a truncated last byte is dropped
    const QByteArray bytes = QByteArray::fromHex(hex);
    m_picture.clear();
    if (bytes.isEmpty() || m_pictureType.isEmpty())
        return;
    const QString id = m_doc->images().add(bytes, m_pictureType);
    const QSize pixels = m_doc->images().pixelSize(id);
    // Goal sizes are twips; without them picw/pich are pixels.
    const int w = m_picGoalW > 0 ? m_picGoalW : (m_picW > 0 ? m_picW : pixels.width()) * 15;
    const int h = m_picGoalH > 0 ? m_picGoalH : (m_picH > 0 ? m_picH : pixels.height()) * 15;
    QTextImageFormat f;
    f.merge(runFormat());
    f.setObjectType(QTextFormat::ImageObject);
    f.setName(id);
    f.setProperty(ModelProperty::ImageId, id);
    f.setWidth(w * m_scaleX / 100.0);
    f.setHeight(h * m_scaleY / 100.0);
    if (m_state.inTable)
        enterTable();
    else
        leaveTable();
    flush();
    m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
}

} // namespace formats
