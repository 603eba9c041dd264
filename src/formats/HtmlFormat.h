#pragma once

#include "DocumentFormat.h"

namespace formats {

// Web pages (.html): read through Qt's HTML import, written with inline CSS.
class HtmlFormat : public DocumentFormat
{
public:
    QString name() const override;
    QStringList extensions() const override;
    SniffResult sniff(const QByteArray &head) const override;
    bool read(QIODevice *device, richedit::RichEditDocument *document,
              QString *error) const override;
    bool write(const richedit::RichEditDocument &document, QIODevice *device,
               QString *error) const override;
};

} // namespace formats
