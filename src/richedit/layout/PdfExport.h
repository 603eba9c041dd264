#pragma once

#include <QString>

namespace richedit {

class PaginatedLayout;

// Writes every page of a layout to a PDF file through the page painter,
// page by page at each page's own size. The file is replaced only when the
// whole PDF was written.
class PdfExport
{
public:
    static bool write(PaginatedLayout *layout, const QString &fileName, QString *error);
};

} // namespace richedit
