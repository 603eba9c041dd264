#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

namespace richedit {

// Pictures of a document, kept as their original bytes so that a save
// writes them back unchanged; decoded on first use.
class ImageStore
{
public:
    struct Entry
    {
        QByteArray bytes;
        QString suffix; // "png", "jpeg", "emf", ...
    };

    // Stores the bytes and returns their id; the same bytes get the same id.
    QString add(const QByteArray &bytes, const QString &suffix);
    bool contains(const QString &id) const { return m_entries.contains(id); }
    Entry entry(const QString &id) const { return m_entries.value(id); }
    QStringList ids() const { return m_entries.keys(); }
    // The decoded picture, null when the bytes are not a picture Qt reads.
    QImage image(const QString &id) const;
    // Natural size in pixels, or an empty size.
    QSize pixelSize(const QString &id) const;
    void clear();

private:
    QHash<QString, Entry> m_entries;
    mutable QHash<QString, QImage> m_decoded;
};

} // namespace richedit
