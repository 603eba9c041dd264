#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct zip;
struct zip_source;

namespace formats {

// Builds a ZIP archive in memory, entry by entry (file entries only, no
// folder entries, as Office packages have them).
class ZipWriter
{
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    bool add(const QString &name, const QByteArray &data);
    // The archive; empty with errorString() on failure. Ends the writer.
    QByteArray finish();
    QString errorString() const { return m_error; }

private:
    zip_source *m_source = nullptr;
    zip *m_zip = nullptr;
    QList<QByteArray> m_data; // libzip reads the entries at finish()
    QString m_error;
};

} // namespace formats
