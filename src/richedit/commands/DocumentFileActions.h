#pragma once

#include <QString>

namespace formats {
class DocumentFormat;
}

namespace richedit {

class RichEditControl;

// What the document file commands share: the names the editor keeps as its
// current and default format, and writing the document.
namespace DocumentFileActions {

QString formatId(const formats::DocumentFormat *format);
const formats::DocumentFormat *formatById(const QString &id);
// Writes the document; the file name and format become the current ones
// and the document is no longer modified. Failures throw.
void write(RichEditControl *control, const QString &fileName,
           const formats::DocumentFormat *format);
// Asks for a file name and format and writes the document there.
void saveAs(RichEditControl *control);

} // namespace DocumentFileActions
} // namespace richedit
