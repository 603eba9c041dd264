#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct zip;
struct zip_source;

namespace formats {

// Reads the entries of a ZIP archive held in memory, within limits that
// stop zip bombs: the number of entries, the bytes one entry and all
// entries together may inflate to, and the inflation ratio of large entries.
class ZipReader
{
public:
    static constexpr int MaxEntries = 10000;
    static constexpr qint64 MaxEntrySize = qint64(512) << 20;
    static constexpr qint64 MaxTotalSize = qint64(1) << 30;
    // Beyond this size an entry may inflate at most MaxRatio times.
    static constexpr qint64 RatioCheckSize = qint64(16) << 20;
    static constexpr qint64 MaxRatio = 200;

    explicit ZipReader(const QByteArray &bytes);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // False with errorString() when the bytes are no readable archive.
    bool isOpen() const { return m_zip != nullptr; }
    QString errorString() const { return m_error; }

    // Entry names as stored (case kept).
    QStringList names() const { return m_names; }
    // The stored name matching `name` ignoring case, or empty.
    QString find(const QString &name) const;
    // The inflated bytes; false with errorString() on damage or a limit.
    bool read(const QString &name, QByteArray *out);

private:
    QByteArray m_bytes; // libzip reads from this buffer
    zip *m_zip = nullptr;
    QStringList m_names;
    QString m_error;
    qint64 m_total = 0;
};

} // namespace formats
