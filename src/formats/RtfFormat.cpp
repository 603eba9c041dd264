#include "RtfFormat.h"

#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QCoreApplication>
#include <QIODevice>

namespace formats {

QString RtfFormat::name() const
{
    return QCoreApplication::translate("formats", "Rich Text Format");
}

QStringList RtfFormat::extensions() const
{
    return {QStringLiteral("rtf")};
}

SniffResult RtfFormat::sniff(const QByteArray &head) const
{
    return head.startsWith("{\\rtf") ? SniffResult::Yes : SniffResult::No;
}

bool RtfFormat::read(QIODevice *device, richedit::RichEditDocument *document, QString *error) const
{
    const QByteArray bytes = device->readAll();
    RtfReader reader(bytes, document);
    if (reader.read())
        return true;
    *error = reader.error();
    return false;
}

bool RtfFormat::write(const richedit::RichEditDocument &document, QIODevice *device,
                      QString *error) const
{
    const QByteArray bytes = RtfWriter(document).write();
    if (device->write(bytes) != bytes.size()) {
        *error = device->errorString();
        return false;
    }
    return true;
}

} // namespace formats
