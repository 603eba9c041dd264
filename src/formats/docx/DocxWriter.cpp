#include "DocxWriter.h"

#include "DocxNumberingWriter.h"
#include "DocxPropertiesWriter.h"
#include "DocxStoryWriter.h"
#include "DocxStylesWriter.h"
#include "ZipWriter.h"

#include <QXmlStreamWriter>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

static const QString MainPart = u"word/document.xml"_s;

DocxWriter::DocxWriter(const RichEditDocument &document)
    : m_doc(document), m_styleIds(DocxStylesWriter::assignIds(document.styles()))
{
}

const QTextCharFormat &DocxWriter::runBase(const QString &paragraphStyle,
                                           const QString &characterStyle)
{
    const QString key = paragraphStyle + u'\n' + characterStyle;
    auto it = m_runBases.find(key);
    if (it != m_runBases.end())
        return *it;
    const StyleSheet &styles = m_doc.styles();
    QTextCharFormat f = styles.resolvedCharFormat(paragraphStyle);
    // A character style adds what its own chain sets, without the defaults.
    QList<const Style *> chain;
    for (const Style *s = styles.find(characterStyle); s && !chain.contains(s) && chain.size() < 32;
         s = s->basedOn.isEmpty() ? nullptr : styles.find(s->basedOn))
        chain.prepend(s);
    for (const Style *s : std::as_const(chain))
        f.merge(s->charFormat);
    return *m_runBases.insert(key, f);
}

static QString folderOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString DocxWriter::relationship(const QString &part, const QString &type, const QString &target,
                                 bool external)
{
    QList<Rel> &rels = m_rels[part];
    for (const Rel &r : std::as_const(rels)) {
        if (r.type == type && r.target == target && r.external == external)
            return r.id;
    }
    const QString id = u"rId"_s + QString::number(rels.size() + 1);
    rels.append({id, type, target, external});
    return id;
}

QString DocxWriter::imageRelationship(const QString &part, const QString &imageId)
{
    if (imageId.isEmpty() || !m_doc.images().contains(imageId))
        return QString();
    QString media = m_media.value(imageId);
    if (media.isEmpty()) {
        const ImageStore::Entry entry = m_doc.images().entry(imageId);
        QString suffix = entry.suffix.toLower();
        if (suffix.isEmpty() || !std::all_of(suffix.cbegin(), suffix.cend(), [](QChar c) {
                return c.isLetterOrNumber() && c.unicode() < 128;
            }))
            suffix = u"bin"_s;
        media = u"word/media/image"_s + QString::number(m_media.size() + 1) + u'.' + suffix;
        m_media.insert(imageId, media);
        addPart(media, QString(), entry.bytes);
    }
    return relationship(part, u"image"_s, media);
}

QString DocxWriter::headerFooterRelationship(const QString &part, int storyId, StoryKind kind)
{
    if (!m_doc.story(storyId))
        return QString();
    const bool header = kind == StoryKind::Header;
    QString target = m_headerFooters.value(storyId);
    if (target.isEmpty()) {
        target = (header ? u"word/header"_s : u"word/footer"_s) +
                 QString::number(header ? ++m_headers : ++m_footers) + u".xml"_s;
        m_headerFooters.insert(storyId, target);
        QByteArray bytes;
        QXmlStreamWriter w(&bytes);
        w.writeStartDocument(u"1.0"_s, true);
        w.writeStartElement(header ? u"w:hdr"_s : u"w:ftr"_s);
        DocxStoryWriter::writeNamespaces(w);
        DocxStoryWriter(*this, w, target, storyId).write();
        w.writeEndDocument();
        addPart(target,
                u"application/vnd.openxmlformats-officedocument.wordprocessingml."_s +
                    (header ? u"header+xml"_s : u"footer+xml"_s),
                bytes);
    }
    return relationship(part, header ? u"header"_s : u"footer"_s, target);
}

void DocxWriter::addPart(const QString &name, const QString &contentType, const QByteArray &bytes)
{
    m_parts.append({name, contentType, bytes});
}

QByteArray DocxWriter::mainPart()
{
    QByteArray out;
    out.reserve(m_doc.mainStory()->characterCount() * 4 + 4096);
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"w:document"_s);
    DocxStoryWriter::writeNamespaces(w);
    const QColor page = m_doc.settings().pageColor;
    if (page.isValid()) {
        w.writeEmptyElement(u"w:background"_s);
        w.writeAttribute(u"w:color"_s, DocxPropertiesWriter::color(page));
    }
    w.writeStartElement(u"w:body"_s);
    DocxStoryWriter story(*this, w, MainPart, MainStoryId);
    story.write();
    story.writeSection(m_doc.sectionProperties(m_doc.sectionCount() - 1));
    w.writeEndDocument();
    return out;
}

QByteArray DocxWriter::settingsPart() const
{
    const DocumentSettings &s = m_doc.settings();
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"w:settings"_s);
    w.writeNamespace(u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s, u"w"_s);
    if (s.pageColor.isValid())
        w.writeEmptyElement(u"w:displayBackgroundShape"_s);
    const ProtectionSettings &p = s.protection;
    if (p.enforced || p.type != ProtectionType::None) {
        w.writeEmptyElement(u"w:documentProtection"_s);
        w.writeAttribute(u"w:edit"_s, p.type == ProtectionType::ReadOnly   ? u"readOnly"_s
                                      : p.type == ProtectionType::Comments ? u"comments"_s
                                      : p.type == ProtectionType::TrackedChanges
                                          ? u"trackedChanges"_s
                                      : p.type == ProtectionType::Forms ? u"forms"_s
                                                                        : u"none"_s);
        w.writeAttribute(u"w:enforcement"_s, p.enforced ? u"1"_s : u"0"_s);
        if (!p.algorithm.isEmpty()) {
            w.writeAttribute(u"w:algorithmName"_s, p.algorithm);
            w.writeAttribute(u"w:hashValue"_s, QString::fromLatin1(p.hash.toBase64()));
            w.writeAttribute(u"w:saltValue"_s, QString::fromLatin1(p.salt.toBase64()));
            w.writeAttribute(u"w:spinCount"_s, QString::number(p.spinCount));
        }
    }
    w.writeEmptyElement(u"w:defaultTabStop"_s);
    w.writeAttribute(u"w:val"_s, QString::number(s.defaultTabStop));
    bool evenAndOdd = s.evenAndOddHeaders;
    for (int i = 0; i < m_doc.sectionCount(); ++i)
        evenAndOdd = evenAndOdd || m_doc.sectionProperties(i).differentOddEven;
    if (evenAndOdd)
        w.writeEmptyElement(u"w:evenAndOddHeaders"_s);
    // Without it Word opens the file in compatibility mode.
    w.writeStartElement(u"w:compat"_s);
    w.writeEmptyElement(u"w:compatSetting"_s);
    w.writeAttribute(u"w:name"_s, u"compatibilityMode"_s);
    w.writeAttribute(u"w:uri"_s, u"http://schemas.microsoft.com/office/word"_s);
    w.writeAttribute(u"w:val"_s, u"15"_s);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray DocxWriter::corePart() const
{
    const DocumentProperties &p = m_doc.settings().properties;
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"cp:coreProperties"_s);
    w.writeNamespace(u"http://schemas.openxmlformats.org/package/2006/metadata/core-properties"_s,
                     u"cp"_s);
    w.writeNamespace(u"http://purl.org/dc/elements/1.1/"_s, u"dc"_s);
    w.writeNamespace(u"http://purl.org/dc/terms/"_s, u"dcterms"_s);
    w.writeNamespace(u"http://www.w3.org/2001/XMLSchema-instance"_s, u"xsi"_s);
    const std::pair<QString, const QString *> texts[] = {
        {u"dc:title"_s, &p.title},
        {u"dc:subject"_s, &p.subject},
        {u"dc:creator"_s, &p.creator},
        {u"cp:keywords"_s, &p.keywords},
        {u"dc:description"_s, &p.description},
        {u"cp:lastModifiedBy"_s, &p.lastModifiedBy},
        {u"cp:revision"_s, &p.revision}};
    for (const auto &[name, value] : texts) {
        if (!value->isEmpty())
            w.writeTextElement(name, *value);
    }
    for (const auto &[name, value] : {std::pair{u"dcterms:created"_s, p.created},
                                      std::pair{u"dcterms:modified"_s, p.modified}}) {
        if (!value.isValid())
            continue;
        w.writeStartElement(name);
        w.writeAttribute(u"xsi:type"_s, u"dcterms:W3CDTF"_s);
        w.writeCharacters(value.toUTC().toString(Qt::ISODate));
        w.writeEndElement();
    }
    w.writeEndDocument();
    return out;
}

QByteArray DocxWriter::appPart() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"Properties"_s);
    w.writeDefaultNamespace(
        u"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"_s);
    w.writeTextElement(u"Application"_s, u"Marlix Editor"_s);
    w.writeEndDocument();
    return out;
}

QByteArray DocxWriter::relationshipsPart(const QList<Rel> &rels) const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"Relationships"_s);
    w.writeDefaultNamespace(u"http://schemas.openxmlformats.org/package/2006/relationships"_s);
    for (const Rel &r : rels) {
        w.writeEmptyElement(u"Relationship"_s);
        w.writeAttribute(u"Id"_s, r.id);
        w.writeAttribute(u"Type"_s, r.type.startsWith(u"http"_s)
                                        ? r.type
                                        : u"http://schemas.openxmlformats.org/officeDocument/2006/"
                                          "relationships/"_s +
                                              r.type);
        w.writeAttribute(u"Target"_s, r.target);
        if (r.external)
            w.writeAttribute(u"TargetMode"_s, u"External"_s);
    }
    w.writeEndDocument();
    return out;
}

static QString mediaType(const QString &suffix)
{
    static const QHash<QString, QString> types = {
        {u"png"_s, u"image/png"_s},    {u"jpeg"_s, u"image/jpeg"_s}, {u"jpg"_s, u"image/jpeg"_s},
        {u"gif"_s, u"image/gif"_s},    {u"bmp"_s, u"image/bmp"_s},   {u"tif"_s, u"image/tiff"_s},
        {u"tiff"_s, u"image/tiff"_s},  {u"emf"_s, u"image/x-emf"_s}, {u"wmf"_s, u"image/x-wmf"_s},
        {u"svg"_s, u"image/svg+xml"_s}};
    return types.value(suffix, u"application/octet-stream"_s);
}

QByteArray DocxWriter::contentTypesPart() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"Types"_s);
    w.writeDefaultNamespace(u"http://schemas.openxmlformats.org/package/2006/content-types"_s);
    QStringList defaults = {u"rels"_s, u"xml"_s};
    auto addDefault = [&](const QString &extension, const QString &type) {
        w.writeEmptyElement(u"Default"_s);
        w.writeAttribute(u"Extension"_s, extension);
        w.writeAttribute(u"ContentType"_s, type);
    };
    addDefault(u"rels"_s, u"application/vnd.openxmlformats-package.relationships+xml"_s);
    addDefault(u"xml"_s, u"application/xml"_s);
    for (const Part &p : m_parts) {
        const QString suffix = p.name.section(u'.', -1);
        if (p.contentType.isEmpty() && !defaults.contains(suffix)) {
            defaults.append(suffix);
            addDefault(suffix, mediaType(suffix));
        }
    }
    for (const Part &p : m_parts) {
        if (p.contentType.isEmpty())
            continue;
        w.writeEmptyElement(u"Override"_s);
        w.writeAttribute(u"PartName"_s, u'/' + p.name);
        w.writeAttribute(u"ContentType"_s, p.contentType);
    }
    w.writeEndDocument();
    return out;
}

QByteArray DocxWriter::write()
{
    static const QString wml = u"application/vnd.openxmlformats-officedocument.wordprocessingml."_s;
    // The main part first: writing it adds headers, footers and media.
    addPart(MainPart, wml + u"document.main+xml"_s, mainPart());
    addPart(u"word/styles.xml"_s, wml + u"styles+xml"_s,
            DocxStylesWriter::write(m_doc.styles(), m_styleIds));
    relationship(MainPart, u"styles"_s, u"word/styles.xml"_s);
    if (!m_doc.lists().abstracts().isEmpty()) {
        addPart(u"word/numbering.xml"_s, wml + u"numbering+xml"_s,
                DocxNumberingWriter::write(m_doc.lists()));
        relationship(MainPart, u"numbering"_s, u"word/numbering.xml"_s);
    }
    addPart(u"word/settings.xml"_s, wml + u"settings+xml"_s, settingsPart());
    relationship(MainPart, u"settings"_s, u"word/settings.xml"_s);
    addPart(u"docProps/core.xml"_s, u"application/vnd.openxmlformats-package.core-properties+xml"_s,
            corePart());
    addPart(u"docProps/app.xml"_s,
            u"application/vnd.openxmlformats-officedocument.extended-properties+xml"_s, appPart());

    QList<Rel> package = {
        {u"rId1"_s, u"officeDocument"_s, MainPart, false},
        {u"rId2"_s,
         u"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"_s,
         u"docProps/core.xml"_s, false},
        {u"rId3"_s, u"extended-properties"_s, u"docProps/app.xml"_s, false}};

    ZipWriter zip;
    bool ok = zip.add(u"[Content_Types].xml"_s, contentTypesPart()) &&
              zip.add(u"_rels/.rels"_s, relationshipsPart(package));
    for (auto it = m_rels.cbegin(); ok && it != m_rels.cend(); ++it) {
        // Targets inside the package are relative to the source part's folder.
        QList<Rel> rels = it.value();
        const QString folder = folderOf(it.key());
        for (Rel &r : rels) {
            if (!r.external && r.target.startsWith(folder))
                r.target = r.target.mid(folder.size());
        }
        ok = zip.add(folder + u"_rels/"_s + it.key().mid(folder.size()) + u".rels"_s,
                     relationshipsPart(rels));
    }
    for (qsizetype i = 0; ok && i < m_parts.size(); ++i)
        ok = zip.add(m_parts[i].name, m_parts[i].bytes);
    QByteArray bytes = ok ? zip.finish() : QByteArray();
    if (bytes.isEmpty())
        m_error = zip.errorString();
    return bytes;
}

} // namespace formats
