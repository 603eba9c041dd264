#pragma once

#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableFormat>

namespace richedit {

enum class StyleType
{
    Paragraph,
    Character,
    Table
};

struct Style
{
    QString name;
    StyleType type = StyleType::Paragraph;
    QString basedOn;
    QString next;          // paragraph style that follows on Enter
    QString linked;        // linked character/paragraph style
    int outlineLevel = -1; // 0..8 for headings, -1 for body text
    bool builtIn = false;
    bool hidden = false;
    QTextCharFormat charFormat;   // only the properties the style sets
    QTextBlockFormat blockFormat; // only the properties the style sets
    QTextTableFormat tableFormat; // table styles
};

// Paragraph, character and table styles with inheritance through `basedOn`.
// Formats of a style hold only what the style itself sets; resolving walks
// the chain from the document defaults down to the style.
class StyleSheet
{
public:
    StyleSheet();

    // The built-in styles every document has: Normal, Heading 1 to 9,
    // Caption, TOC 1 to 9, Table of Figures, Hyperlink, Default Paragraph Font
    // and Normal Table.
    void addBuiltInStyles();

    const QList<Style> &styles() const { return m_styles; }
    const Style *find(const QString &name) const;
    // Adds or replaces the style of that name.
    void setStyle(const Style &style);
    bool remove(const QString &name);
    void clear();

    QTextCharFormat defaultCharFormat() const { return m_defaultChar; }
    QTextBlockFormat defaultBlockFormat() const { return m_defaultBlock; }
    void setDefaultCharFormat(const QTextCharFormat &f) { m_defaultChar = f; }
    void setDefaultBlockFormat(const QTextBlockFormat &f) { m_defaultBlock = f; }

    // Effective formats of a style: document defaults, then every ancestor.
    QTextCharFormat resolvedCharFormat(const QString &name) const;
    QTextBlockFormat resolvedBlockFormat(const QString &name) const;
    int resolvedOutlineLevel(const QString &name) const;

    static QString normalStyleName() { return QStringLiteral("Normal"); }
    static QString headingStyleName(int level); // level 1..9
    static QString tocStyleName(int level);     // level 1..9

private:
    QList<const Style *> chain(const QString &name) const;

    QList<Style> m_styles;
    QTextCharFormat m_defaultChar;
    QTextBlockFormat m_defaultBlock;
};

} // namespace richedit
