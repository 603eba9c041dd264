// Key event to repainted page on the generated 1000-page document: typing and
// Backspace in the middle of page 500, and Page Down.
#include "../common/BenchDocument.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/view/RichEditControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

using namespace richedit;

namespace {

double press(RichEditControl &control, int key, const QString &text = QString())
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&control, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&control, &up);
    // Whatever the key left to repaint is painted before the clock stops.
    QApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(double(v.size()) * p))];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RichEditControl control;
    control.resize(1280, 900);
    control.show();
    bench::generateDocument(control.document(), 1000);
    control.layout()->layoutAll();
    QApplication::processEvents();

    // The middle of a long paragraph in the middle of page 500.
    const LayoutPage &page = control.layout()->page(499);
    int position = page.start.position;
    for (const PlacedLines &l : page.lines) {
        if (!l.inTable && l.block.length() > 200 && l.top > page.bodyRect.center().y() - 2000) {
            position = l.block.position() + l.block.length() / 2;
            break;
        }
    }
    QTextCursor c(control.document()->mainStory());
    c.setPosition(position);
    control.setTextCursor(c);
    control.setFocus();
    QApplication::processEvents();

    std::vector<double> keys;
    const QString letters = QStringLiteral("the quick brown fox jumps over the lazy dog ");
    for (int i = 0; i < 500; ++i) {
        const QChar ch = letters[i % letters.size()];
        keys.push_back(press(control, ch == u' ' ? Qt::Key_Space : Qt::Key_A + (ch.unicode() - 'a'),
                             QString(ch)));
    }
    std::vector<double> backspaces;
    for (int i = 0; i < 500; ++i)
        backspaces.push_back(press(control, Qt::Key_Backspace));
    std::vector<double> pageDowns;
    for (int i = 0; i < 100; ++i)
        pageDowns.push_back(press(control, Qt::Key_PageDown));

    bench::report("typing.key_median_ms", percentile(keys, 0.5), "ms");
    bench::report("typing.key_p99_ms", percentile(keys, 0.99), "ms");
    bench::report("typing.backspace_p99_ms", percentile(backspaces, 0.99), "ms");
    bench::report("typing.pagedown_p99_ms", percentile(pageDowns, 0.99), "ms");
    return 0;
}
