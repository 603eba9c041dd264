#include "PdfExport.h"

#include "PagePainter.h"
#include "LayoutDevice.h"
#include "PaginatedLayout.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace richedit {

bool PdfExport::write(PaginatedLayout *layout, const QString &fileName, QString *error)
{
    layout->layoutAll();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(LayoutDpi); // one device unit per twip
        pdf.setPageMargins(QMarginsF());
        QPainter painter;
        const PagePainter pagePainter(layout);
        for (int i = 0; i < layout->laidOutPageCount(); ++i) {
            const LayoutPage &page = layout->page(i);
            pdf.setPageSize(QPageSize(page.size() / 20.0, QPageSize::Point));
            if (i == 0 ? !painter.begin(&pdf) : !pdf.newPage()) {
                *error = QStringLiteral("cannot write the PDF");
                return false;
            }
            pagePainter.paint(&painter, page, PagePainter::Options{});
        }
        painter.end();
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace richedit
