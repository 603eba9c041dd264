#include "DocxStylesWriter.h"

#include "DocxPropertiesWriter.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/StyleSheet.h"

#include <QSet>
#include <QXmlStreamWriter>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

QHash<QString, QString> DocxStylesWriter::assignIds(const StyleSheet &styles)
{
    QHash<QString, QString> ids;
    QSet<QString> used;
    for (const Style &s : styles.styles()) {
        QString id;
        if (s.name == u"Normal Table") {
            id = u"TableNormal"_s; // what Word calls it
        } else {
            for (QChar c : s.name) {
                if (c.isLetterOrNumber() && c.unicode() < 128)
                    id += c;
            }
        }
        if (id.isEmpty())
            id = u"Style"_s;
        const QString stem = id;
        for (int n = 2; used.contains(id.toLower()); ++n)
            id = stem + QString::number(n);
        used.insert(id.toLower());
        ids.insert(s.name, id);
    }
    return ids;
}

// Word knows its built-in styles by lower-case names ("heading 1").
static QString wordName(const Style &s)
{
    if (!s.builtIn)
        return s.name;
    static const QStringList lower = {u"Heading "_s, u"TOC "_s, u"Caption"_s,
                                      u"Table of Figures"_s};
    for (const QString &prefix : lower) {
        if (s.name.startsWith(prefix))
            return s.name.toLower();
    }
    return s.name;
}

static bool isDefault(const Style &s)
{
    return (s.type == StyleType::Paragraph && s.name == StyleSheet::normalStyleName()) ||
           (s.type == StyleType::Character && s.name == u"Default Paragraph Font") ||
           (s.type == StyleType::Table && s.name == u"Normal Table");
}

QByteArray DocxStylesWriter::write(const StyleSheet &styles, const QHash<QString, QString> &ids)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"w:styles"_s);
    w.writeNamespace(u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s, u"w"_s);

    w.writeStartElement(u"w:docDefaults"_s);
    w.writeStartElement(u"w:rPrDefault"_s);
    DocxPropertiesWriter::writeRun(w, styles.defaultCharFormat(), QTextCharFormat());
    w.writeEndElement();
    w.writeStartElement(u"w:pPrDefault"_s);
    DocxPropertiesWriter::writeParagraph(w, styles.defaultBlockFormat(), QTextBlockFormat(),
                                         QString(), {}, -1);
    w.writeEndElement();
    w.writeEndElement();

    auto reference = [&](const QString &name, const QString &element) {
        const QString id = ids.value(name);
        if (id.isEmpty())
            return;
        w.writeEmptyElement(element);
        w.writeAttribute(u"w:val"_s, id);
    };
    for (const Style &s : styles.styles()) {
        w.writeStartElement(u"w:style"_s);
        w.writeAttribute(u"w:type"_s, s.type == StyleType::Paragraph   ? u"paragraph"_s
                                      : s.type == StyleType::Character ? u"character"_s
                                                                       : u"table"_s);
        if (isDefault(s))
            w.writeAttribute(u"w:default"_s, u"1"_s);
        w.writeAttribute(u"w:styleId"_s, ids.value(s.name));
        w.writeEmptyElement(u"w:name"_s);
        w.writeAttribute(u"w:val"_s, wordName(s));
        reference(s.basedOn, u"w:basedOn"_s);
        reference(s.next, u"w:next"_s);
        reference(s.linked, u"w:link"_s);
        if (s.hidden)
            w.writeEmptyElement(u"w:semiHidden"_s);
        if (s.type != StyleType::Character) {
            const QTextBlockFormat &b = s.blockFormat;
            DocxPropertiesWriter::Numbering numbering;
            if (b.hasProperty(ModelProperty::ListInstance)) {
                numbering.write = true;
                numbering.instance = b.intProperty(ModelProperty::ListInstance);
                numbering.level = b.intProperty(ModelProperty::ListLevel);
            }
            DocxPropertiesWriter::writeParagraph(w, b, QTextBlockFormat(), QString(), numbering,
                                                 s.outlineLevel);
        }
        DocxPropertiesWriter::writeRun(w, s.charFormat, QTextCharFormat());
        w.writeEndElement();
    }
    w.writeEndDocument();
    return out;
}

} // namespace formats
