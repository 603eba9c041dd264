#include "StyleSheet.h"

#include "ModelProperty.h"

#include <QColor>

namespace richedit {

StyleSheet::StyleSheet()
{
    m_defaultChar.setFontFamilies({QStringLiteral("Calibri")});
    m_defaultChar.setFontPointSize(11);
    m_defaultBlock.setBottomMargin(160);
    m_defaultBlock.setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
    m_defaultBlock.setProperty(ModelProperty::LineSpacingValue, 1.08);
}

void StyleSheet::addBuiltInStyles()
{
    auto add = [this](Style s) {
        s.builtIn = true;
        if (!find(s.name))
            m_styles.append(s);
    };
    Style normal;
    normal.name = normalStyleName();
    add(normal);

    for (int level = 1; level <= 9; ++level) {
        Style h;
        h.name = headingStyleName(level);
        h.basedOn = normalStyleName();
        h.next = normalStyleName();
        h.outlineLevel = level - 1;
        h.blockFormat.setTopMargin(level == 1 ? 480 : 200);
        h.blockFormat.setBottomMargin(0);
        h.blockFormat.setProperty(ModelProperty::KeepWithNext, true);
        h.blockFormat.setProperty(ModelProperty::KeepLinesTogether, true);
        h.charFormat.setFontFamilies({QStringLiteral("Calibri Light")});
        static const double sizes[] = {16, 13, 12, 11, 11, 11, 11, 10.5, 10.5};
        h.charFormat.setFontPointSize(sizes[level - 1]);
        h.charFormat.setForeground(QColor(level <= 2 ? 0x2F5496 : 0x1F3763));
        if (level >= 4)
            h.charFormat.setFontItalic(level == 4 || level == 7);
        add(h);
    }
    Style caption;
    caption.name = QStringLiteral("Caption");
    caption.basedOn = normalStyleName();
    caption.next = normalStyleName();
    caption.charFormat.setFontItalic(true);
    caption.charFormat.setFontPointSize(9);
    caption.charFormat.setForeground(QColor(0x44546A));
    add(caption);

    for (int level = 1; level <= 9; ++level) {
        Style toc;
        toc.name = tocStyleName(level);
        toc.basedOn = normalStyleName();
        toc.next = normalStyleName();
        toc.blockFormat.setLeftMargin((level - 1) * 220);
        toc.blockFormat.setBottomMargin(100);
        add(toc);
    }
    Style tof;
    tof.name = QStringLiteral("Table of Figures");
    tof.basedOn = normalStyleName();
    tof.next = normalStyleName();
    tof.blockFormat.setBottomMargin(0);
    add(tof);

    Style dpf;
    dpf.name = QStringLiteral("Default Paragraph Font");
    dpf.type = StyleType::Character;
    add(dpf);

    Style link;
    link.name = QStringLiteral("Hyperlink");
    link.type = StyleType::Character;
    link.basedOn = dpf.name;
    link.charFormat.setForeground(QColor(0x0563C1));
    link.charFormat.setFontUnderline(true);
    add(link);

    Style table;
    table.name = QStringLiteral("Normal Table");
    table.type = StyleType::Table;
    add(table);
}

const Style *StyleSheet::find(const QString &name) const
{
    for (const Style &s : m_styles) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

void StyleSheet::setStyle(const Style &style)
{
    for (Style &s : m_styles) {
        if (s.name == style.name) {
            s = style;
            return;
        }
    }
    m_styles.append(style);
}

bool StyleSheet::remove(const QString &name)
{
    for (qsizetype i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].name == name) {
            m_styles.removeAt(i);
            return true;
        }
    }
    return false;
}

void StyleSheet::clear()
{
    m_styles.clear();
}

QList<const Style *> StyleSheet::chain(const QString &name) const
{
    // Root first; a cycle in basedOn (damaged files have them) ends the walk.
    QList<const Style *> result;
    const Style *s = find(name);
    while (s && !result.contains(s) && result.size() < 64) {
        result.prepend(s);
        s = s->basedOn.isEmpty() ? nullptr : find(s->basedOn);
    }
    return result;
}

QTextCharFormat StyleSheet::resolvedCharFormat(const QString &name) const
{
    QTextCharFormat f = m_defaultChar;
    for (const Style *s : chain(name))
        f.merge(s->charFormat);
    return f;
}

QTextBlockFormat StyleSheet::resolvedBlockFormat(const QString &name) const
{
    QTextBlockFormat f = m_defaultBlock;
    for (const Style *s : chain(name))
        f.merge(s->blockFormat);
    return f;
}

int StyleSheet::resolvedOutlineLevel(const QString &name) const
{
    const QList<const Style *> c = chain(name);
    for (qsizetype i = c.size() - 1; i >= 0; --i) {
        if (c[i]->outlineLevel >= 0)
            return c[i]->outlineLevel;
    }
    return -1;
}

QString StyleSheet::headingStyleName(int level)
{
    return QStringLiteral("Heading %1").arg(level);
}

QString StyleSheet::tocStyleName(int level)
{
    return QStringLiteral("TOC %1").arg(level);
}

} // namespace richedit
