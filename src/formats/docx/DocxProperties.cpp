#include "DocxProperties.h"

#include "XmlScanner.h"

#include "richedit/model/ModelProperty.h"

#include <QList>

namespace formats {

using namespace richedit;

QColor DocxProperties::color(QStringView value)
{
    if (value.size() != 6)
        return QColor();
    bool ok = false;
    const uint rgb = value.toUInt(&ok, 16);
    return ok ? QColor(QRgb(rgb)) : QColor();
}

static QColor highlightColor(QStringView name)
{
    static const struct
    {
        const char *name;
        QRgb rgb;
    } table[] = {{"yellow", 0xFFFF00},      {"green", 0x00FF00},     {"cyan", 0x00FFFF},
                 {"magenta", 0xFF00FF},     {"blue", 0x0000FF},      {"red", 0xFF0000},
                 {"darkBlue", 0x000080},    {"darkCyan", 0x008080},  {"darkGreen", 0x008000},
                 {"darkMagenta", 0x800080}, {"darkRed", 0x800000},   {"darkYellow", 0x808000},
                 {"darkGray", 0x808080},    {"lightGray", 0xC0C0C0}, {"black", 0x000000},
                 {"white", 0xFFFFFF}};
    for (const auto &e : table) {
        if (name == QLatin1String(e.name))
            return QColor(e.rgb);
    }
    return QColor();
}

static QString fontOf(const XmlScanner &x, const ThemeFonts &theme)
{
    for (const char *a : {"ascii", "hAnsi", "cs", "eastAsia"}) {
        const QStringView v = x.attr(a);
        if (!v.isEmpty())
            return v.toString();
    }
    for (const char *a : {"asciiTheme", "hAnsiTheme"}) {
        const QStringView v = x.attr(a);
        if (!v.isEmpty())
            return v.startsWith(u"major") ? theme.major : theme.minor;
    }
    return QString();
}

bool DocxProperties::runChild(XmlScanner &x, QTextCharFormat *f, const ThemeFonts &theme)
{
    const QStringView n = x.name();
    if (n == u"b") {
        f->setFontWeight(x.onOff() ? QFont::Bold : QFont::Normal);
    } else if (n == u"i") {
        f->setFontItalic(x.onOff());
    } else if (n == u"u") {
        f->setFontUnderline(x.attr("val") != u"none" && x.onOff());
    } else if (n == u"strike" || n == u"dstrike") {
        f->setFontStrikeOut(x.onOff());
    } else if (n == u"sz") {
        const int halfPoints = x.intAttr("val", 0);
        if (halfPoints > 0)
            f->setFontPointSize(qBound(1, halfPoints, 3276) / 2.0);
    } else if (n == u"rFonts") {
        const QString font = fontOf(x, theme);
        if (!font.isEmpty())
            f->setFontFamilies({font});
    } else if (n == u"color") {
        const QColor c = color(x.attr("val"));
        if (c.isValid())
            f->setForeground(c);
        else
            f->clearForeground();
    } else if (n == u"highlight") {
        const QColor c = highlightColor(x.attr("val"));
        if (c.isValid())
            f->setBackground(c);
    } else if (n == u"shd") {
        const QColor c = color(x.attr("fill"));
        if (c.isValid())
            f->setBackground(c);
    } else if (n == u"vertAlign") {
        const QStringView v = x.attr("val");
        f->setVerticalAlignment(v == u"superscript" ? QTextCharFormat::AlignSuperScript
                                : v == u"subscript" ? QTextCharFormat::AlignSubScript
                                                    : QTextCharFormat::AlignNormal);
    } else if (n == u"caps") {
        f->setFontCapitalization(x.onOff() ? QFont::AllUppercase : QFont::MixedCase);
    } else if (n == u"smallCaps") {
        f->setFontCapitalization(x.onOff() ? QFont::SmallCaps : QFont::MixedCase);
    } else if (n == u"vanish") {
        f->setProperty(ModelProperty::Hidden, x.onOff());
    } else if (n == u"spacing") {
        f->setFontLetterSpacingType(QFont::AbsoluteSpacing);
        f->setFontLetterSpacing(x.intAttr("val") / 20.0);
    } else {
        return false;
    }
    return true;
}

void DocxProperties::readRun(XmlScanner &x, QTextCharFormat *format, const ThemeFonts &theme)
{
    const int d = x.depth();
    while (x.nextChild(d))
        runChild(x, format, theme);
}

Qt::Alignment DocxProperties::alignment(QStringView v)
{
    if (v == u"center")
        return Qt::AlignHCenter;
    if (v == u"right" || v == u"end")
        return Qt::AlignRight;
    if (v == u"both" || v == u"distribute" || v.startsWith(u"thai") || v.endsWith(u"Kashida"))
        return Qt::AlignJustify;
    return Qt::AlignLeft;
}

static void readTabs(XmlScanner &x, QTextBlockFormat *f)
{
    QList<QTextOption::Tab> tabs;
    const int d = x.depth();
    while (x.nextChild(d)) {
        if (!x.is("tab"))
            continue;
        const QStringView v = x.attr("val");
        if (v == u"clear")
            continue;
        QTextOption::Tab tab;
        tab.position = x.intAttr("pos");
        tab.type = v == u"center"                   ? QTextOption::CenterTab
                   : (v == u"right" || v == u"end") ? QTextOption::RightTab
                   : v == u"decimal"                ? QTextOption::DelimiterTab
                                                    : QTextOption::LeftTab;
        if (tab.type == QTextOption::DelimiterTab)
            tab.delimiter = u'.';
        tabs.append(tab);
    }
    f->setTabPositions(tabs);
}

bool DocxProperties::paragraphChild(XmlScanner &x, QTextBlockFormat *f)
{
    const QStringView n = x.name();
    if (n == u"jc") {
        f->setAlignment(alignment(x.attr("val")));
    } else if (n == u"spacing") {
        if (x.hasAttr("before"))
            f->setTopMargin(x.intAttr("before"));
        if (x.hasAttr("after"))
            f->setBottomMargin(x.intAttr("after"));
        // Automatic spacing is Word's HTML-style 14 pt.
        if (x.onOff("beforeAutospacing") && x.hasAttr("beforeAutospacing"))
            f->setTopMargin(280);
        if (x.onOff("afterAutospacing") && x.hasAttr("afterAutospacing"))
            f->setBottomMargin(280);
        if (x.hasAttr("line")) {
            const QStringView rule = x.attr("lineRule");
            const int line = x.intAttr("line", 240);
            if (rule == u"exact" || rule == u"atLeast") {
                f->setProperty(ModelProperty::LineSpacingRule,
                               int(rule == u"exact" ? LineSpacing::Exactly : LineSpacing::AtLeast));
                f->setProperty(ModelProperty::LineSpacingValue, double(qAbs(line)));
            } else {
                f->setProperty(ModelProperty::LineSpacingRule, int(LineSpacing::Multiple));
                f->setProperty(ModelProperty::LineSpacingValue, qBound(0.06, line / 240.0, 132.0));
            }
        }
    } else if (n == u"ind") {
        for (const char *a : {"left", "start"}) {
            if (x.hasAttr(a))
                f->setLeftMargin(x.intAttr(a));
        }
        for (const char *a : {"right", "end"}) {
            if (x.hasAttr(a))
                f->setRightMargin(x.intAttr(a));
        }
        if (x.hasAttr("firstLine"))
            f->setTextIndent(x.intAttr("firstLine"));
        if (x.hasAttr("hanging"))
            f->setTextIndent(-x.intAttr("hanging"));
    } else if (n == u"keepNext") {
        f->setProperty(ModelProperty::KeepWithNext, x.onOff());
    } else if (n == u"keepLines") {
        f->setProperty(ModelProperty::KeepLinesTogether, x.onOff());
    } else if (n == u"widowControl") {
        f->setProperty(ModelProperty::WidowControl, x.onOff());
    } else if (n == u"contextualSpacing") {
        f->setProperty(ModelProperty::ContextualSpacing, x.onOff());
    } else if (n == u"suppressLineNumbers") {
        f->setProperty(ModelProperty::SuppressLineNumbers, x.onOff());
    } else if (n == u"pageBreakBefore") {
        f->setPageBreakPolicy(x.onOff() ? QTextFormat::PageBreak_AlwaysBefore
                                        : QTextFormat::PageBreak_Auto);
    } else if (n == u"outlineLvl") {
        const int level = x.intAttr("val", 9);
        if (level >= 0 && level < 9)
            f->setProperty(ModelProperty::OutlineLevel, level);
    } else if (n == u"shd") {
        const QColor c = color(x.attr("fill"));
        if (c.isValid())
            f->setBackground(c);
    } else if (n == u"tabs") {
        readTabs(x, f);
    } else if (n == u"bidi") {
        f->setLayoutDirection(x.onOff() ? Qt::RightToLeft : Qt::LeftToRight);
    } else {
        return false;
    }
    return true;
}

bool DocxProperties::tableLookChild(XmlScanner &x, DocxTableLook *look)
{
    {
        if (x.is("tblBorders")) {
            const int b = x.depth();
            while (x.nextChild(b)) {
                const DocxBorder border = DocxProperties::border(x);
                if (x.is("top"))
                    look->top = border;
                else if (x.is("left") || x.is("start"))
                    look->left = border;
                else if (x.is("bottom"))
                    look->bottom = border;
                else if (x.is("right") || x.is("end"))
                    look->right = border;
                else if (x.is("insideH"))
                    look->insideH = border;
                else if (x.is("insideV"))
                    look->insideV = border;
            }
        } else if (x.is("tblCellMar")) {
            const int m = x.depth();
            while (x.nextChild(m)) {
                const int w = x.intAttr("w", -1);
                if (x.is("top"))
                    look->cellMargins[0] = w;
                else if (x.is("left") || x.is("start"))
                    look->cellMargins[1] = w;
                else if (x.is("bottom"))
                    look->cellMargins[2] = w;
                else if (x.is("right") || x.is("end"))
                    look->cellMargins[3] = w;
            }
        } else {
            return false;
        }
    }
    return true;
}

DocxBorder DocxProperties::border(const XmlScanner &x)
{
    DocxBorder b;
    b.set = true;
    const QStringView v = x.attr("val");
    if (v.isEmpty() || v == u"nil" || v == u"none")
        return b;
    // w:sz is in eighths of a point: 8 = 1 pt = 20 twips.
    b.width = qMax(1, x.intAttr("sz", 4) * 20 / 8);
    b.style = v == u"dotted"   ? QTextFrameFormat::BorderStyle_Dotted
              : v == u"dashed" ? QTextFrameFormat::BorderStyle_Dashed
              : v == u"double" ? QTextFrameFormat::BorderStyle_Double
                               : QTextFrameFormat::BorderStyle_Solid;
    b.color = color(x.attr("color"));
    if (!b.color.isValid())
        b.color = Qt::black;
    return b;
}

int DocxProperties::width(const XmlScanner &x)
{
    const QStringView type = x.attr("type");
    const QStringView w = x.attr("w");
    if (type == u"pct") {
        if (w.endsWith(u'%'))
            return -int(w.chopped(1).toDouble() * 50);
        return -x.intAttr("w");
    }
    if (type == u"auto" || type == u"nil")
        return 0;
    return x.intAttr("w");
}

} // namespace formats
