#include "BenchDocument.h"

#include "richedit/model/ModelProperty.h"
#include "richedit/model/RichEditDocument.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <cstdio>

namespace bench {

using namespace richedit;

void generateDocument(RichEditDocument *doc, int pages)
{
    static const char *pool[] = {
        "the",     "layout",  "engine",  "places",    "every",    "line",     "of",     "text",
        "on",      "its",     "page",    "paragraph", "tables",   "continue", "across", "breaks",
        "while",   "lists",   "number",  "their",     "items",    "document", "fields", "editor",
        "columns", "section", "margins", "header",    "footnote", "quickly"};
    QTextDocument *story = doc->mainStory();
    story->setUndoRedoEnabled(false);
    const int bullets = doc->lists().createList(NumberFormat::Bullet);
    const int numbers = doc->lists().createList(NumberFormat::Decimal);

    QTextCursor c(story);
    const QTextBlockFormat normal = c.blockFormat();
    QTextCharFormat plain = c.charFormat();
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    QTextCharFormat serif = plain;
    serif.setFontFamilies({QStringLiteral("Liberation Serif")});
    serif.setFontPointSize(12);
    QTextBlockFormat heading = normal;
    heading.setProperty(ModelProperty::ParagraphStyle, StyleSheet::headingStyleName(1));
    heading.setProperty(ModelProperty::KeepWithNext, true);
    heading.setTopMargin(480);
    QTextCharFormat headingChar = doc->styles().resolvedCharFormat(StyleSheet::headingStyleName(1));

    // About 9.25 paragraphs (body text, headings, list items) fill a page.
    const int paragraphsPerPage = 9;
    const int total = pages * 37 / 4;
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    bool first = true;
    for (int p = 0; p < total; ++p) {
        if (p == total / 2) {
            // The second half is its own section with other margins.
            doc->setSectionBreakBlock(c.block(), doc->sectionProperties(0));
            SectionProperties second = doc->sectionProperties(0);
            second.margins.left = second.margins.right = 1440;
            doc->setFinalSectionProperties(second);
        }
        if (p % (paragraphsPerPage * 10) == 5) {
            QTextTableFormat tf;
            c.insertBlock(normal, plain);
            QTextTable *t = c.insertTable(8, 4, tf);
            for (int r = 0; r < 8; ++r) {
                for (int col = 0; col < 4; ++col)
                    t->cellAt(r, col).firstCursorPosition().insertText(
                        QStringLiteral("Cell %1.%2").arg(r + 1).arg(col + 1), plain);
            }
            c.movePosition(QTextCursor::End);
            first = false;
        }
        QTextBlockFormat bf = normal;
        const int kind = p % 23;
        if (kind == 0) {
            bf = heading;
        } else if (kind >= 14 && kind <= 17) {
            bf.setProperty(ModelProperty::ListInstance, kind <= 15 ? bullets : numbers);
            bf.setLeftMargin(720);
            bf.setTextIndent(-360);
        }
        if (first)
            c.setBlockFormat(bf);
        else
            c.insertBlock(bf, plain);
        first = false;
        if (kind == 0) {
            c.insertText(QStringLiteral("Chapter %1").arg(p / 23 + 1), headingChar);
            continue;
        }
        const int count = kind >= 14 && kind <= 17 ? 12 : 55 + int(next() % 20);
        QString run;
        const QTextCharFormat *runFormat = &plain;
        for (int w = 0; w < count; ++w) {
            const unsigned r = next();
            const QTextCharFormat *f = r % 17 == 0   ? &bold
                                       : r % 19 == 0 ? &italic
                                       : r % 23 == 0 ? &serif
                                                     : &plain;
            if (f != runFormat && !run.isEmpty()) {
                c.insertText(run, *runFormat);
                run.clear();
            }
            runFormat = f;
            run += QLatin1String(pool[r % 30]);
            run += u' ';
        }
        c.insertText(run, *runFormat);
    }
    story->setUndoRedoEnabled(true);
    doc->notifyReset();
}

double peakRssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void report(const char *name, double value, const char *unit)
{
    std::printf("{\"name\": \"%s\", \"value\": %.3f, \"unit\": \"%s\"}\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace bench
