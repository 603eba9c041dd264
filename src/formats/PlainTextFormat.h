#pragma once

#include "DocumentFormat.h"

namespace formats {

// Plain text: UTF-8 or UTF-16 (with a byte order mark), or the legacy
// 8-bit code page when the bytes are not valid UTF-8. One paragraph a line.
class PlainTextFormat : public DocumentFormat
{
public:
    QString name() const override;
    QStringList extensions() const override;
    SniffResult sniff(const QByteArray &head) const override;
    bool read(QIODevice *device, richedit::RichEditDocument *document,
              QString *error) const override;
    bool write(const richedit::RichEditDocument &document, QIODevice *device,
               QString *error) const override;

    static QString decode(const QByteArray &bytes);
};

} // namespace formats
