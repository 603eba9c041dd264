#include "DocxReader.h"

#include "DocxStoryReader.h"
#include "XmlScanner.h"

#include "richedit/model/ModelProperty.h"

#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>

namespace formats {

using namespace richedit;

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

DocxReader::DocxReader(const QByteArray &bytes, RichEditDocument *document)
    : m_package(bytes), m_doc(document)
{
}

void DocxReader::fail(const QString &part, const QString &message)
{
    if (m_error.isEmpty())
        m_error = part.isEmpty() ? message : tr("%1, %2").arg(part, message);
}

bool DocxReader::readPart(const QString &part, QByteArray *bytes)
{
    if (!m_package.read(part, bytes)) {
        fail(QString(), m_package.errorString());
        return false;
    }
    return true;
}

bool DocxReader::read()
{
    if (!m_package.open()) {
        m_error = m_package.errorString();
        return false;
    }
    m_doc->clear();
    // A package without docDefaults means Word's built-in defaults, not ours.
    StyleSheet &styles = m_doc->styles();
    QTextCharFormat defaultChar;
    defaultChar.setFontFamilies({QStringLiteral("Times New Roman")});
    defaultChar.setFontPointSize(10);
    QTextBlockFormat defaultBlock;
    defaultBlock.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
    defaultBlock.setProperty(ModelProperty::LineSpacingValue, 1.0);
    styles.setDefaultCharFormat(defaultChar);
    styles.setDefaultBlockFormat(defaultBlock);
    m_defaultParagraphStyle = StyleSheet::normalStyleName();

    const QString main = m_package.mainPart();
    auto partOf = [&](const char *type) {
        const Relationship *r = m_package.relationshipOfType(main, QLatin1String(type));
        return r && !r->external && m_package.hasPart(r->target) ? r->target : QString();
    };
    const QString theme = partOf("theme");
    if (!theme.isEmpty())
        readTheme(theme);
    const QString numbering = partOf("numbering");
    if (!failed() && !numbering.isEmpty())
        readNumbering(numbering);
    const QString stylesPart = partOf("styles");
    if (!failed() && !stylesPart.isEmpty())
        readStyles(stylesPart);
    const QString settings = partOf("settings");
    if (!failed() && !settings.isEmpty())
        readSettings(settings);
    if (!failed())
        readCoreProperties();
    if (!failed())
        readMain();
    if (failed())
        return false;
    m_doc->applySettings(m_settings);
    m_doc->notifyReset();
    return true;
}

void DocxReader::readTheme(const QString &part)
{
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return;
    XmlScanner x(bytes);
    // Only a:majorFont/a:latin and a:minorFont/a:latin matter here.
    std::function<void(int, QString *)> walk = [&](int depth, QString *target) {
        while (x.nextChild(depth)) {
            if (x.is("majorFont"))
                walk(x.depth(), &m_theme.major);
            else if (x.is("minorFont"))
                walk(x.depth(), &m_theme.minor);
            else if (x.is("latin") && target) {
                if (!x.attr("typeface").isEmpty())
                    *target = x.attr("typeface").toString();
            } else if (x.is("themeElements") || x.is("fontScheme"))
                walk(x.depth(), nullptr);
        }
    };
    if (x.enterRoot())
        walk(x.depth(), nullptr);
    if (x.hasError())
        fail(part, x.errorString());
}

static NumberFormat numberFormat(QStringView v)
{
    if (v == u"bullet")
        return NumberFormat::Bullet;
    if (v == u"none")
        return NumberFormat::None;
    if (v == u"lowerLetter")
        return NumberFormat::LowerLetter;
    if (v == u"upperLetter")
        return NumberFormat::UpperLetter;
    if (v == u"lowerRoman")
        return NumberFormat::LowerRoman;
    if (v == u"upperRoman")
        return NumberFormat::UpperRoman;
    if (v == u"decimalZero")
        return NumberFormat::DecimalZero;
    if (v == u"ordinal")
        return NumberFormat::Ordinal;
    return NumberFormat::Decimal;
}

// Symbol-font bullets live in the private use area; show their Unicode form.
static QString bulletText(QString text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case 0xF0B7:
        case 0xF0FC:
            c = QChar(0x2022);
            break;
        case 0xF0A7:
            c = QChar(0x25AA);
            break;
        case 0xF0D8:
            c = QChar(0x27A2);
            break;
        default:
            break;
        }
    }
    return text;
}

ListLevel DocxReader::readListLevel(XmlScanner &x)
{
    ListLevel level;
    level.indent = 0;
    level.hanging = 0;
    const int d = x.depth();
    while (x.nextChild(d)) {
        if (x.is("start")) {
            level.start = x.intAttr("val", 1);
        } else if (x.is("numFmt")) {
            level.format = numberFormat(x.attr("val"));
        } else if (x.is("lvlText")) {
            level.text = x.attr("val").toString();
        } else if (x.is("lvlJc")) {
            level.alignment = DocxProperties::alignment(x.attr("val"));
        } else if (x.is("isLgl")) {
            level.legal = x.onOff();
        } else if (x.is("lvlRestart")) {
            const int v = x.intAttr("val", -1);
            if (v > 0)
                level.restartAfterLevel = v - 1;
        } else if (x.is("suff")) {
            const QStringView v = x.attr("val");
            level.suffix = v == u"space" ? QChar(u' ') : v == u"nothing" ? QChar() : QChar(u'\t');
        } else if (x.is("pPr")) {
            const int p = x.depth();
            while (x.nextChild(p)) {
                if (!x.is("ind"))
                    continue;
                for (const char *a : {"left", "start"}) {
                    if (x.hasAttr(a))
                        level.indent = x.intAttr(a);
                }
                if (x.hasAttr("hanging"))
                    level.hanging = x.intAttr("hanging");
                else if (x.hasAttr("firstLine"))
                    level.hanging = -x.intAttr("firstLine");
            }
        } else if (x.is("rPr")) {
            DocxProperties::readRun(x, &level.labelFormat, m_theme);
        }
    }
    if (level.format == NumberFormat::Bullet)
        level.text = bulletText(level.text);
    return level;
}

void DocxReader::readNumbering(const QString &part)
{
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return;
    XmlScanner x(bytes);
    ListTable &lists = m_doc->lists();
    QList<ListInstance> instances;
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            if (x.is("abstractNum")) {
                AbstractList list;
                const int wordId = x.intAttr("abstractNumId", -1);
                list.levels = ListTable::defaultLevels(NumberFormat::Decimal);
                const int d = x.depth();
                while (x.nextChild(d)) {
                    if (x.is("lvl")) {
                        const int ilvl = x.intAttr("ilvl", -1);
                        const ListLevel level = readListLevel(x);
                        if (ilvl >= 0 && ilvl < ListTable::LevelCount)
                            list.levels[ilvl] = level;
                    } else if (x.is("multiLevelType")) {
                        list.multiLevel = x.attr("val") != u"singleLevel";
                    } else if (x.is("name")) {
                        list.name = x.attr("val").toString();
                    }
                }
                m_abstractIds.insert(wordId, lists.addAbstract(list));
            } else if (x.is("num")) {
                ListInstance instance;
                instance.id = x.intAttr("numId", 0);
                const int d = x.depth();
                while (x.nextChild(d)) {
                    if (x.is("abstractNumId")) {
                        instance.abstractId = x.intAttr("val", -1);
                    } else if (x.is("lvlOverride")) {
                        const int ilvl = x.intAttr("ilvl", -1);
                        LevelOverride o;
                        const int od = x.depth();
                        while (x.nextChild(od)) {
                            if (x.is("startOverride"))
                                o.start = x.intAttr("val", 1);
                            else if (x.is("lvl"))
                                o.level = readListLevel(x);
                        }
                        if (ilvl >= 0 && ilvl < ListTable::LevelCount)
                            instance.overrides.insert(ilvl, o);
                    }
                }
                if (instance.id > 0)
                    instances.append(instance);
            }
        }
    }
    if (x.hasError()) {
        fail(part, x.errorString());
        return;
    }
    // w:num may come before the abstract lists it names.
    for (ListInstance &instance : instances) {
        if (!m_abstractIds.contains(instance.abstractId))
            continue;
        instance.abstractId = m_abstractIds.value(instance.abstractId);
        lists.addInstance(instance);
    }
}

void DocxReader::applyListLevel(int instanceId, int level, QTextBlockFormat *format)
{
    if (instanceId <= 0 || !m_doc->lists().instance(instanceId)) {
        format->setProperty(ModelProperty::ListInstance, 0);
        return;
    }
    level = qBound(0, level, ListTable::LevelCount - 1);
    format->setProperty(ModelProperty::ListInstance, instanceId);
    format->setProperty(ModelProperty::ListLevel, level);
    const ListLevel l = m_doc->lists().level(instanceId, level);
    format->setLeftMargin(l.indent);
    format->setTextIndent(-l.hanging);
}

void DocxReader::applyNumbering(XmlScanner &x, QTextBlockFormat *format)
{
    int numId = format->intProperty(ModelProperty::ListInstance);
    int level = format->intProperty(ModelProperty::ListLevel);
    bool hasId = false;
    const int d = x.depth();
    while (x.nextChild(d)) {
        if (x.is("numId")) {
            numId = x.intAttr("val", 0);
            hasId = true;
        } else if (x.is("ilvl")) {
            level = x.intAttr("val", 0);
        }
    }
    if (hasId || numId > 0)
        applyListLevel(numId, level, format);
}

// Word's built-in style names are lower case ("heading 1"); the model
// spells its built-in styles in title case.
static QString modelStyleName(const StyleSheet &styles, const QString &name)
{
    for (const Style &s : styles.styles()) {
        if (s.builtIn && s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s.name;
    }
    return name;
}

void DocxReader::readStyles(const QString &part)
{
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return;
    XmlScanner x(bytes);
    StyleSheet &sheet = m_doc->styles();
    struct Pending
    {
        Style style;
        QString basedOnId, nextId, linkId;
        DocxTableLook look;
        bool hasLook = false;
    };
    QList<Pending> pending;
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            if (x.is("docDefaults")) {
                const int d = x.depth();
                while (x.nextChild(d)) {
                    const bool run = x.is("rPrDefault");
                    if (!run && !x.is("pPrDefault"))
                        continue;
                    const int dd = x.depth();
                    while (x.nextChild(dd)) {
                        if (run && x.is("rPr")) {
                            QTextCharFormat f = sheet.defaultCharFormat();
                            DocxProperties::readRun(x, &f, m_theme);
                            sheet.setDefaultCharFormat(f);
                        } else if (!run && x.is("pPr")) {
                            QTextBlockFormat f = sheet.defaultBlockFormat();
                            const int p = x.depth();
                            while (x.nextChild(p))
                                DocxProperties::paragraphChild(x, &f);
                            sheet.setDefaultBlockFormat(f);
                        }
                    }
                }
            } else if (x.is("style")) {
                Pending p;
                const QStringView type = x.attr("type");
                if (type == u"numbering")
                    continue;
                p.style.type = type == u"character" ? StyleType::Character
                               : type == u"table"   ? StyleType::Table
                                                    : StyleType::Paragraph;
                const QString id = x.attr("styleId").toString();
                const bool isDefault = x.onOff("default") && x.hasAttr("default");
                p.style.name = id;
                const int d = x.depth();
                while (x.nextChild(d)) {
                    if (x.is("name"))
                        p.style.name = modelStyleName(sheet, x.attr("val").toString());
                    else if (x.is("basedOn"))
                        p.basedOnId = x.attr("val").toString();
                    else if (x.is("next"))
                        p.nextId = x.attr("val").toString();
                    else if (x.is("link"))
                        p.linkId = x.attr("val").toString();
                    else if (x.is("hidden") || x.is("semiHidden"))
                        p.style.hidden = x.onOff();
                    else if (x.is("rPr"))
                        DocxProperties::readRun(x, &p.style.charFormat, m_theme);
                    else if (x.is("tblPr")) {
                        const int t = x.depth();
                        while (x.nextChild(t))
                            DocxProperties::tableLookChild(x, &p.look);
                        p.hasLook = true;
                    } else if (x.is("pPr")) {
                        const int pp = x.depth();
                        while (x.nextChild(pp)) {
                            if (x.is("numPr"))
                                applyNumbering(x, &p.style.blockFormat);
                            else if (x.is("outlineLvl"))
                                p.style.outlineLevel =
                                    x.intAttr("val", -1) < 9 ? x.intAttr("val", -1) : -1;
                            else
                                DocxProperties::paragraphChild(x, &p.style.blockFormat);
                        }
                    }
                }
                if (id.isEmpty())
                    continue;
                m_styleNames.insert(id, p.style.name);
                if (isDefault && p.style.type == StyleType::Paragraph)
                    m_defaultParagraphStyle = p.style.name;
                pending.append(p);
            }
        }
    }
    if (x.hasError()) {
        fail(part, x.errorString());
        return;
    }
    for (Pending &p : pending) {
        p.style.basedOn = m_styleNames.value(p.basedOnId);
        p.style.next = m_styleNames.value(p.nextId);
        p.style.linked = m_styleNames.value(p.linkId);
        if (const Style *builtIn = sheet.find(p.style.name))
            p.style.builtIn = builtIn->builtIn;
        if (p.style.outlineLevel < 0 && p.style.name.startsWith(QLatin1String("Heading ")) &&
            p.style.builtIn)
            p.style.outlineLevel = p.style.name.mid(8).toInt() - 1;
        sheet.setStyle(p.style);
        if (p.hasLook)
            m_tableLooks.insert(p.style.name, p.look);
    }
}

const DocxTableLook *DocxReader::tableStyleLook(const QString &style) const
{
    // Table styles inherit borders through basedOn.
    const StyleSheet &sheet = m_doc->styles();
    QString name = style;
    for (int guard = 0; guard < 16 && !name.isEmpty(); ++guard) {
        auto it = m_tableLooks.constFind(name);
        if (it != m_tableLooks.cend())
            return &it.value();
        const Style *s = sheet.find(name);
        name = s ? s->basedOn : QString();
    }
    return nullptr;
}

const QTextBlockFormat &DocxReader::paragraphFormat(const QString &style)
{
    auto it = m_paragraphFormats.find(style);
    if (it == m_paragraphFormats.end()) {
        QTextBlockFormat f = m_doc->styles().resolvedBlockFormat(style);
        f.setProperty(ModelProperty::ParagraphStyle, style);
        it = m_paragraphFormats.insert(style, f);
    }
    return *it;
}

const QTextCharFormat &DocxReader::paragraphCharFormat(const QString &style)
{
    auto it = m_paragraphCharFormats.find(style);
    if (it == m_paragraphCharFormats.end())
        it = m_paragraphCharFormats.insert(style, m_doc->styles().resolvedCharFormat(style));
    return *it;
}

const QTextCharFormat &DocxReader::characterStyleFormat(const QString &style)
{
    auto it = m_characterFormats.find(style);
    if (it == m_characterFormats.end()) {
        QList<const Style *> chain;
        const Style *s = m_doc->styles().find(style);
        while (s && !chain.contains(s) && chain.size() < 32) {
            chain.prepend(s);
            s = s->basedOn.isEmpty() ? nullptr : m_doc->styles().find(s->basedOn);
        }
        QTextCharFormat f;
        for (const Style *c : chain)
            f.merge(c->charFormat);
        f.setProperty(ModelProperty::CharacterStyle, style);
        it = m_characterFormats.insert(style, f);
    }
    return *it;
}

void DocxReader::readSettings(const QString &part)
{
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return;
    XmlScanner x(bytes);
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            if (x.is("evenAndOddHeaders")) {
                m_settings.evenAndOddHeaders = x.onOff();
            } else if (x.is("defaultTabStop")) {
                m_settings.defaultTabStop = qMax(1, x.intAttr("val", 720));
            } else if (x.is("documentProtection") || x.is("writeProtection")) {
                ProtectionSettings &p = m_settings.protection;
                const QStringView edit = x.attr("edit");
                p.type = edit == u"readOnly"         ? ProtectionType::ReadOnly
                         : edit == u"comments"       ? ProtectionType::Comments
                         : edit == u"trackedChanges" ? ProtectionType::TrackedChanges
                         : edit == u"forms"          ? ProtectionType::Forms
                                                     : ProtectionType::None;
                p.enforced = x.hasAttr("enforcement") && x.onOff("enforcement");
                p.algorithm = x.attr("algorithmName").toString();
                if (p.algorithm.isEmpty() && x.hasAttr("cryptAlgorithmSid")) {
                    // Word 2007's legacy hash names its algorithm by number.
                    static const char *sids[] = {
                        "", "MD2",  "MD4", "MD5", "SHA-1",   "MAC",     "RIPEMD", "RIPEMD-160",
                        "", "HMAC", "",    "",    "SHA-256", "SHA-384", "SHA-512"};
                    const int sid = x.intAttr("cryptAlgorithmSid");
                    if (sid > 0 && sid < int(std::size(sids)))
                        p.algorithm = QLatin1String(sids[sid]);
                }
                for (const char *a : {"hashValue", "hash"}) {
                    if (x.hasAttr(a))
                        p.hash = QByteArray::fromBase64(x.attr(a).toLatin1());
                }
                for (const char *a : {"saltValue", "salt"}) {
                    if (x.hasAttr(a))
                        p.salt = QByteArray::fromBase64(x.attr(a).toLatin1());
                }
                for (const char *a : {"spinCount", "cryptSpinCount"}) {
                    if (x.hasAttr(a))
                        p.spinCount = x.intAttr(a);
                }
            }
        }
    }
    if (x.hasError())
        fail(part, x.errorString());
}

void DocxReader::readCoreProperties()
{
    const Relationship *r =
        m_package.relationshipOfType(QString(), QStringLiteral("core-properties"));
    if (!r || r->external || !m_package.hasPart(r->target))
        return;
    QByteArray bytes;
    if (!readPart(r->target, &bytes))
        return;
    XmlScanner x(bytes);
    DocumentProperties &p = m_settings.properties;
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            const QString name = x.name().toString();
            const QString value = x.text();
            if (name == u"title")
                p.title = value;
            else if (name == u"subject")
                p.subject = value;
            else if (name == u"creator")
                p.creator = value;
            else if (name == u"keywords")
                p.keywords = value;
            else if (name == u"description")
                p.description = value;
            else if (name == u"lastModifiedBy")
                p.lastModifiedBy = value;
            else if (name == u"revision")
                p.revision = value;
            else if (name == u"created")
                p.created = QDateTime::fromString(value, Qt::ISODate);
            else if (name == u"modified")
                p.modified = QDateTime::fromString(value, Qt::ISODate);
        }
    }
    // Metadata is optional: damaged core properties do not stop the document.
    if (x.hasError())
        note(tr("unreadable document properties"));
}

SectionProperties DocxReader::readSection(XmlScanner &x, const QString &part)
{
    SectionProperties s;
    s.differentOddEven = m_settings.evenAndOddHeaders;
    const int d = x.depth();
    while (x.nextChild(d)) {
        if (x.is("pgSz")) {
            s.pageWidth = qBound(720, x.intAttr("w", s.pageWidth), 31680);
            s.pageHeight = qBound(720, x.intAttr("h", s.pageHeight), 31680);
            s.orientation = x.attr("orient") == u"landscape" ? PageOrientation::Landscape
                                                             : PageOrientation::Portrait;
        } else if (x.is("pgMar")) {
            s.margins.top = x.intAttr("top", s.margins.top);
            s.margins.bottom = x.intAttr("bottom", s.margins.bottom);
            s.margins.left = x.intAttr("left", s.margins.left);
            s.margins.right = x.intAttr("right", s.margins.right);
            s.margins.gutter = x.intAttr("gutter", 0);
            s.headerDistance = x.intAttr("header", s.headerDistance);
            s.footerDistance = x.intAttr("footer", s.footerDistance);
        } else if (x.is("cols")) {
            s.columns.count = qBound(1, x.intAttr("num", 1), 45);
            s.columns.spacing = x.intAttr("space", 720);
            s.columns.equalWidth = !x.hasAttr("equalWidth") || x.onOff("equalWidth");
            s.columns.separatorLine = x.hasAttr("sep") && x.onOff("sep");
            const int c = x.depth();
            while (x.nextChild(c)) {
                if (x.is("col"))
                    s.columns.columns.append({x.intAttr("w"), x.intAttr("space")});
            }
            if (s.columns.columns.size() < s.columns.count)
                s.columns.equalWidth = true;
            if (s.columns.equalWidth)
                s.columns.columns.clear();
        } else if (x.is("lnNumType")) {
            const QStringView restart = x.attr("restart");
            s.lineNumbering.restart = restart == u"continuous"   ? LineNumberRestart::Continuous
                                      : restart == u"newSection" ? LineNumberRestart::EachSection
                                                                 : LineNumberRestart::EachPage;
            s.lineNumbering.countBy = qMax(1, x.intAttr("countBy", 1));
            s.lineNumbering.start = x.intAttr("start", 0) + 1;
            s.lineNumbering.distance = x.intAttr("distance", 360);
        } else if (x.is("titlePg")) {
            s.differentFirstPage = x.onOff();
        } else if (x.is("type")) {
            const QStringView v = x.attr("val");
            s.breakType = v == u"continuous"   ? SectionBreakType::Continuous
                          : v == u"evenPage"   ? SectionBreakType::EvenPage
                          : v == u"oddPage"    ? SectionBreakType::OddPage
                          : v == u"nextColumn" ? SectionBreakType::Column
                                               : SectionBreakType::NextPage;
        } else if (x.is("pgNumType")) {
            if (x.hasAttr("start"))
                s.pageNumberStart = x.intAttr("start", 1);
        } else if (x.is("headerReference") || x.is("footerReference")) {
            const bool header = x.is("headerReference");
            const QStringView type = x.attr("type");
            const int t = int(type == u"first"  ? HeaderFooterType::First
                              : type == u"even" ? HeaderFooterType::Even
                                                : HeaderFooterType::Odd);
            const Relationship r = m_package.relationships(part).value(x.attr("id").toString());
            if (r.target.isEmpty() || r.external || !m_package.hasPart(r.target))
                continue;
            const int story =
                headerFooterStory(r.target, header ? StoryKind::Header : StoryKind::Footer);
            if (story == 0)
                continue;
            (header ? s.headers : s.footers)[t] = story;
        }
    }
    return s;
}

int DocxReader::headerFooterStory(const QString &part, StoryKind kind)
{
    auto it = m_headerFooterStories.constFind(part);
    if (it != m_headerFooterStories.cend())
        return *it;
    if (m_partsInProgress.contains(part))
        return 0;
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return 0;
    m_partsInProgress.insert(part);
    const int id = m_doc->createStory(kind);
    XmlScanner x(bytes);
    if (x.enterRoot()) {
        DocxStoryReader story(*this, x, part, id);
        story.readContent();
    }
    if (x.hasError())
        fail(part, x.errorString());
    m_partsInProgress.remove(part);
    m_headerFooterStories.insert(part, id);
    return id;
}

QString DocxReader::imageId(const QString &part, QStringView relId)
{
    const Relationship r = m_package.relationships(part).value(relId.toString());
    if (r.target.isEmpty())
        return QString();
    if (r.external) {
        note(tr("linked pictures"));
        return QString();
    }
    auto it = m_images.constFind(r.target);
    if (it != m_images.cend())
        return *it;
    QByteArray bytes;
    // A missing picture leaves a gap; it does not stop the document.
    if (!m_package.hasPart(r.target) || !m_package.read(r.target, &bytes)) {
        note(tr("missing pictures"));
        return QString();
    }
    const QString id = m_doc->images().add(bytes, r.target.section(u'.', -1).toLower());
    m_images.insert(r.target, id);
    return id;
}

void DocxReader::readMain()
{
    const QString part = m_package.mainPart();
    QByteArray bytes;
    if (!readPart(part, &bytes))
        return;
    XmlScanner x(bytes);
    if (!x.enterRoot()) {
        fail(part, x.hasError() ? x.errorString() : tr("the part is empty"));
        return;
    }
    const int root = x.depth();
    bool sawBody = false;
    while (!failed() && x.nextChild(root)) {
        if (x.is("background")) {
            const QColor c = DocxProperties::color(x.attr("color"));
            if (c.isValid())
                m_settings.pageColor = c;
        } else if (x.is("body")) {
            sawBody = true;
            DocxStoryReader story(*this, x, part, MainStoryId);
            // One edit block for the whole body: Qt then rescans the frame
            // structure once at the end instead of after every table edit.
            QTextCursor edit(m_doc->mainStory());
            edit.beginEditBlock();
            story.readContent();
            edit.endEditBlock();
            SectionProperties last;
            last.differentOddEven = m_settings.evenAndOddHeaders;
            m_doc->setFinalSectionProperties(story.hasFinalSection() ? story.finalSection() : last);
        }
    }
    if (x.hasError())
        fail(part, x.errorString());
    else if (!sawBody)
        fail(part, tr("the document has no body"));
}

} // namespace formats
