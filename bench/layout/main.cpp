// Lays out a generated 1000-page document, then measures the relayout after
// one-character inserts in the middle of page 500.
#include "../common/BenchDocument.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/model/RichEditDocument.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

using namespace richedit;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    RichEditDocument doc;
    auto *layout = new PaginatedLayout(&doc);
    bench::generateDocument(&doc, 1000);

    QElapsedTimer timer;
    timer.start();
    layout->layoutAll();
    bench::report("layout.full_ms", double(timer.nsecsElapsed()) / 1e6, "ms");
    bench::report("layout.pages", layout->laidOutPageCount(), "pages");

    const int target = std::min(499, layout->laidOutPageCount() - 1);
    const LayoutPage &page = layout->page(target);
    int position = page.start.position;
    for (const PlacedLines &l : page.lines) {
        if (!l.inTable && l.block.length() > 40 && l.top > page.bodyRect.center().y()) {
            position = l.block.position() + l.block.length() / 2;
            break;
        }
    }
    std::vector<double> times;
    QTextCursor cursor(doc.mainStory());
    cursor.setPosition(position);
    for (int i = 0; i < 200; ++i) {
        timer.restart();
        cursor.insertText(QStringLiteral("x"));
        layout->ensurePage(target + 1);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    bench::report("layout.edit_median_ms", times[times.size() / 2], "ms");
    bench::report("layout.edit_p99_ms", times[size_t(double(times.size()) * 0.99)], "ms");
    bench::report("layout.peak_rss_mb", bench::peakRssMb(), "MB");
    return 0;
}
