#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace richedit {
class RichEditDocument;
}

namespace formats {

// How sure a format is that some bytes are its own.
enum class SniffResult
{
    No,
    Maybe,
    Yes
};

// One document file format: its name and extensions, a content check and
// a reader and writer. Readers fill a fresh document and report what went
// wrong in `error` (what and where, without the file name, which the
// caller adds); writers write the whole document to the device.
class DocumentFormat
{
public:
    virtual ~DocumentFormat() = default;

    // Shown in file dialogs: "Word Document".
    virtual QString name() const = 0;
    // Lower case, without the dot; the first is the one a save appends.
    virtual QStringList extensions() const = 0;
    // Looks at the first bytes of a file (up to 4 KiB).
    virtual SniffResult sniff(const QByteArray &head) const = 0;
    virtual bool canRead() const { return true; }
    virtual bool canWrite() const { return true; }

    virtual bool read(QIODevice *device, richedit::RichEditDocument *document,
                      QString *error) const = 0;
    virtual bool write(const richedit::RichEditDocument &document, QIODevice *device,
                       QString *error) const = 0;

    // "Word Document (*.docx *.docm)"
    QString filter() const;
};

} // namespace formats
