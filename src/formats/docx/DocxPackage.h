#pragma once

#include "ZipReader.h"

#include <QHash>
#include <QString>

namespace formats {

struct Relationship
{
    QString type;   // last segment of the type URI: "styles", "image", "header", ...
    QString target; // part name without the leading '/', or the URI when external
    bool external = false;
};

// An Open Packaging Conventions package (the ZIP of a .docx): content types,
// relationships and parts, read within the ZipReader's limits.
class DocxPackage
{
public:
    explicit DocxPackage(const QByteArray &bytes);

    // Opens the archive and finds the main document part; false with
    // errorString() when the package is unusable.
    bool open();
    QString errorString() const { return m_error; }

    QString mainPart() const { return m_mainPart; }
    // The part's relationships by id (parsed once).
    const QHash<QString, Relationship> &relationships(const QString &part);
    // The first relationship of a type from a part, or nullptr.
    const Relationship *relationshipOfType(const QString &part, const QString &type);
    QString contentType(const QString &part) const;
    bool hasPart(const QString &part) const { return !m_zip.find(part).isEmpty(); }
    // The part's bytes; false with errorString() on damage or a limit.
    bool read(const QString &part, QByteArray *out);

    static bool looksLikeZip(const QByteArray &head) { return head.startsWith("PK\x03\x04"); }

private:
    bool readContentTypes();
    QHash<QString, Relationship> parseRelationships(const QString &part);

    ZipReader m_zip;
    QString m_error;
    QString m_mainPart;
    QHash<QString, QString> m_defaults;  // extension -> content type
    QHash<QString, QString> m_overrides; // lower-case part name -> content type
    QHash<QString, QHash<QString, Relationship>> m_rels;
};

} // namespace formats
