#pragma once

#include "richedit/model/RichEditDocument.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>

namespace formats {

// Writes a document as a .docx package: the package-wide parts (content
// types, relationships, styles, numbering, settings, properties, media)
// here, the stories through DocxStoryWriter. Also the service the story
// writers share: style ids, relationships, pictures and header parts.
class DocxWriter
{
public:
    explicit DocxWriter(const richedit::RichEditDocument &document);
    // The package; empty with error() on failure.
    QByteArray write();
    QString error() const { return m_error; }

    // ---- shared with the story writers
    const richedit::RichEditDocument &document() const { return m_doc; }
    // The w:styleId of a style name, empty for an unknown style.
    QString styleId(const QString &name) const { return m_styleIds.value(name); }
    // What runs of a paragraph in `paragraphStyle` with `characterStyle`
    // inherit: the base their direct formatting is written against.
    const QTextCharFormat &runBase(const QString &paragraphStyle, const QString &characterStyle);
    // The id of a relationship from `part`, added on first use. `type` is
    // the last segment of the type URI; internal targets are part names.
    QString relationship(const QString &part, const QString &type, const QString &target,
                         bool external = false);
    // The relationship to the picture's media part, written on first use.
    QString imageRelationship(const QString &part, const QString &imageId);
    // The relationship to a header or footer story's part, written on first use.
    QString headerFooterRelationship(const QString &part, int storyId, richedit::StoryKind kind);
    // Unique ids for drawing objects and bookmarks.
    int nextDrawingId() { return ++m_drawingIds; }
    int nextBookmarkId() { return m_bookmarkIds++; }

private:
    struct Part
    {
        QString name;
        QString contentType; // empty: by extension
        QByteArray bytes;
    };
    struct Rel
    {
        QString id, type, target;
        bool external;
    };
    void addPart(const QString &name, const QString &contentType, const QByteArray &bytes);
    QByteArray mainPart();
    QByteArray settingsPart() const;
    QByteArray corePart() const;
    QByteArray appPart() const;
    QByteArray relationshipsPart(const QList<Rel> &rels) const;
    QByteArray contentTypesPart() const;

    const richedit::RichEditDocument &m_doc;
    QString m_error;
    QList<Part> m_parts;
    QHash<QString, QList<Rel>> m_rels; // by source part
    QHash<QString, QString> m_styleIds;
    QHash<QString, QTextCharFormat> m_runBases;
    QHash<QString, QString> m_media;      // image id -> part
    QHash<int, QString> m_headerFooters;  // story -> part
    QHash<QString, QString> m_mediaTypes; // extension -> content type
    int m_headers = 0;
    int m_footers = 0;
    int m_drawingIds = 0;
    int m_bookmarkIds = 0;
};

} // namespace formats
