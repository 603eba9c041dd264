#include "ImageStore.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>

namespace richedit {

QString ImageStore::add(const QByteArray &bytes, const QString &suffix)
{
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16));
    if (!m_entries.contains(id))
        m_entries.insert(id, Entry{bytes, suffix.toLower()});
    return id;
}

QImage ImageStore::image(const QString &id) const
{
    auto it = m_decoded.constFind(id);
    if (it != m_decoded.cend())
        return *it;
    QImage decoded;
    auto e = m_entries.constFind(id);
    if (e != m_entries.cend()) {
        QByteArray bytes = e->bytes;
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        // A hostile picture may claim a huge size; keep decoding bounded.
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() <= 64LL * 1024 * 1024)
            decoded = reader.read();
    }
    m_decoded.insert(id, decoded);
    return decoded;
}

QSize ImageStore::pixelSize(const QString &id) const
{
    auto e = m_entries.constFind(id);
    if (e == m_entries.cend())
        return QSize();
    QByteArray bytes = e->bytes;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    return reader.size();
}

void ImageStore::clear()
{
    m_entries.clear();
    m_decoded.clear();
}

} // namespace richedit
