// Time from the process's start to the first paint of the main window's
// editor, with the window built from its design and translated, as the
// program starts.
#include "../common/BenchDocument.h"
#include "Unit1.h"
#include "fDatumACas.h"
#include "platform/Application.h"
#include "ribbon/SkinController.h"
#include "richedit/view/RichEditControl.h"

#include <QFile>
#include <QScreen>
#include <QTimer>

#include <time.h>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's start time.
double sinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Field 22 (start time in clock ticks since boot) follows the ')' of the name.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [] {
                bench::report("startup.first_paint_ms", sinceProcessStart(), "ms");
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    SkinController().apply(&app);
    auto *form = new TForm1;
    new TfDatumCas(form);
    FirstPaint watcher;
    form->dxRichEditControl1->viewport()->installEventFilter(&watcher);
    form->setGeometry(form->screen()->availableGeometry());
    form->showMaximized();
    app.exec();
    delete form;
    return 0;
}
