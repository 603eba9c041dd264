#include "DocxNumberingWriter.h"

#include "DocxPropertiesWriter.h"

#include "richedit/model/ListTable.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace formats {

using namespace richedit;
using namespace Qt::Literals::StringLiterals;

static QString formatName(NumberFormat f)
{
    switch (f) {
    case NumberFormat::None:
        return u"none"_s;
    case NumberFormat::Bullet:
        return u"bullet"_s;
    case NumberFormat::Decimal:
        return u"decimal"_s;
    case NumberFormat::DecimalZero:
        return u"decimalZero"_s;
    case NumberFormat::LowerLetter:
        return u"lowerLetter"_s;
    case NumberFormat::UpperLetter:
        return u"upperLetter"_s;
    case NumberFormat::LowerRoman:
        return u"lowerRoman"_s;
    case NumberFormat::UpperRoman:
        return u"upperRoman"_s;
    case NumberFormat::Ordinal:
        return u"ordinal"_s;
    }
    return u"decimal"_s;
}

// The reader shows symbol-font bullets by their Unicode form; a label in
// Symbol or Wingdings gets its private-use code back so Word draws it.
static QString bulletText(const ListLevel &level)
{
    const QString font = level.labelFormat.fontFamilies().toStringList().value(0);
    QString text = level.text;
    const bool symbol = font.compare(u"Symbol"_s, Qt::CaseInsensitive) == 0;
    const bool wingdings = font.compare(u"Wingdings"_s, Qt::CaseInsensitive) == 0;
    for (QChar &c : text) {
        if (symbol && c == QChar(0x2022))
            c = QChar(0xF0B7);
        else if (wingdings && c == QChar(0x2022))
            c = QChar(0xF0FC);
        else if (wingdings && c == QChar(0x25AA))
            c = QChar(0xF0A7);
        else if (wingdings && c == QChar(0x27A2))
            c = QChar(0xF0D8);
    }
    return text;
}

static void value(QXmlStreamWriter &w, const QString &name, const QString &v)
{
    w.writeEmptyElement(name);
    w.writeAttribute(u"w:val"_s, v);
}

static void writeLevel(QXmlStreamWriter &w, int index, const ListLevel &l)
{
    w.writeStartElement(u"w:lvl"_s);
    w.writeAttribute(u"w:ilvl"_s, QString::number(index));
    value(w, u"w:start"_s, QString::number(l.start));
    value(w, u"w:numFmt"_s, formatName(l.format));
    if (l.restartAfterLevel >= 0)
        value(w, u"w:lvlRestart"_s, QString::number(l.restartAfterLevel + 1));
    if (l.legal)
        w.writeEmptyElement(u"w:isLgl"_s);
    if (l.suffix != QLatin1Char('\t'))
        value(w, u"w:suff"_s, l.suffix == QLatin1Char(' ') ? u"space"_s : u"nothing"_s);
    value(w, u"w:lvlText"_s, l.format == NumberFormat::Bullet ? bulletText(l) : l.text);
    value(w, u"w:lvlJc"_s,
          l.alignment & Qt::AlignHCenter ? u"center"_s
          : l.alignment & Qt::AlignRight ? u"right"_s
                                         : u"left"_s);
    w.writeStartElement(u"w:pPr"_s);
    w.writeEmptyElement(u"w:ind"_s);
    w.writeAttribute(u"w:left"_s, QString::number(l.indent));
    w.writeAttribute(u"w:hanging"_s, QString::number(l.hanging));
    w.writeEndElement();
    DocxPropertiesWriter::writeRun(w, l.labelFormat, QTextCharFormat());
    w.writeEndElement();
}

template<typename Hash> static QList<int> sortedKeys(const Hash &hash)
{
    QList<int> keys = hash.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

QByteArray DocxNumberingWriter::write(const ListTable &lists)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(u"1.0"_s, true);
    w.writeStartElement(u"w:numbering"_s);
    w.writeNamespace(u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s, u"w"_s);
    for (int id : sortedKeys(lists.abstracts())) {
        const AbstractList &list = lists.abstracts().value(id);
        w.writeStartElement(u"w:abstractNum"_s);
        w.writeAttribute(u"w:abstractNumId"_s, QString::number(id));
        value(w, u"w:multiLevelType"_s, list.multiLevel ? u"multilevel"_s : u"singleLevel"_s);
        if (!list.name.isEmpty())
            value(w, u"w:name"_s, list.name);
        for (int i = 0; i < list.levels.size() && i < ListTable::LevelCount; ++i)
            writeLevel(w, i, list.levels[i]);
        w.writeEndElement();
    }
    for (int id : sortedKeys(lists.instances())) {
        const ListInstance &instance = lists.instances().value(id);
        w.writeStartElement(u"w:num"_s);
        w.writeAttribute(u"w:numId"_s, QString::number(id));
        value(w, u"w:abstractNumId"_s, QString::number(instance.abstractId));
        for (int level : sortedKeys(instance.overrides)) {
            const LevelOverride &o = instance.overrides.value(level);
            w.writeStartElement(u"w:lvlOverride"_s);
            w.writeAttribute(u"w:ilvl"_s, QString::number(level));
            if (o.start)
                value(w, u"w:startOverride"_s, QString::number(*o.start));
            if (o.level)
                writeLevel(w, level, *o.level);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndDocument();
    return out;
}

} // namespace formats
