#pragma once

#include "DocumentFormat.h"

namespace formats {

// Rich Text Format: older documents and other programs' rich clipboards.
class RtfFormat : public DocumentFormat
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
