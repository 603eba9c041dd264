#pragma once

#include <QString>

namespace richedit {
class RichEditDocument;
}

namespace formats {

class DocumentFormat;
class FormatRegistry;

// Opening and saving document files: what the editor's load and save
// commands call. Errors name the file and what is wrong.
class DocumentFile
{
public:
    // Reads the file in the format its content shows (or its extension
    // names) into a scratch document and, only when that succeeded, moves
    // the content into `document`; on failure `document` is untouched.
    static bool open(const QString &fileName, richedit::RichEditDocument *document, QString *error);
    static bool open(const QString &fileName, richedit::RichEditDocument *document, QString *error,
                     const FormatRegistry &registry);

    // Writes to a temporary file beside `fileName` and renames it over the
    // target only when everything was written, so a failed save leaves the
    // old file as it was. A null `format` picks it by the extension.
    static bool save(const QString &fileName, const richedit::RichEditDocument &document,
                     const DocumentFormat *format, QString *error);

    // Largest file read into memory.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;
};

} // namespace formats
