#include "DocxPackage.h"

#include "XmlScanner.h"

#include <QCoreApplication>
#include <QDir>

namespace formats {

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

// The part a relative target names from a source part's folder.
static QString resolveTarget(const QString &sourcePart, const QString &target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    const int slash = int(sourcePart.lastIndexOf(u'/'));
    const QString folder = slash < 0 ? QString() : sourcePart.left(slash + 1);
    QString path = QDir::cleanPath(folder + target);
    while (path.startsWith(QLatin1String("../")))
        path = path.mid(3);
    return path;
}

static QString relsPartOf(const QString &part)
{
    const int slash = int(part.lastIndexOf(u'/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

DocxPackage::DocxPackage(const QByteArray &bytes) : m_zip(bytes) {}

bool DocxPackage::open()
{
    if (!m_zip.isOpen()) {
        m_error = m_zip.errorString();
        return false;
    }
    if (!readContentTypes())
        return false;
    const Relationship *office = relationshipOfType(QString(), QStringLiteral("officeDocument"));
    if (!m_error.isEmpty())
        return false;
    m_mainPart = office ? office->target : QStringLiteral("word/document.xml");
    if (!hasPart(m_mainPart)) {
        m_error = tr("the main document part %1 is missing").arg(m_mainPart);
        return false;
    }
    m_mainPart = m_zip.find(m_mainPart);
    const QString type = contentType(m_mainPart);
    if (!type.contains(QLatin1String("wordprocessingml.document.main")) &&
        !type.contains(QLatin1String("wordprocessingml.template.main")) &&
        !type.contains(QLatin1String("ms-word.document.macroEnabled.main")) &&
        !type.contains(QLatin1String("ms-word.template.macroEnabledTemplate.main"))) {
        m_error = tr("the main part %1 has the content type “%2”, not a word processing document")
                      .arg(m_mainPart, type.isEmpty() ? tr("none") : type);
        return false;
    }
    return true;
}

bool DocxPackage::readContentTypes()
{
    const QString name = m_zip.find(QStringLiteral("[Content_Types].xml"));
    if (name.isEmpty()) {
        m_error = tr("the package has no [Content_Types].xml, so it is no Office document");
        return false;
    }
    QByteArray bytes;
    if (!m_zip.read(name, &bytes)) {
        m_error = m_zip.errorString();
        return false;
    }
    XmlScanner x(bytes);
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            if (x.is("Default"))
                m_defaults.insert(x.attr("Extension").toString().toLower(),
                                  x.attr("ContentType").toString());
            else if (x.is("Override"))
                m_overrides.insert(x.attr("PartName").toString().mid(1).toLower(),
                                   x.attr("ContentType").toString());
        }
    }
    if (x.hasError()) {
        m_error = tr("[Content_Types].xml, %1").arg(x.errorString());
        return false;
    }
    return true;
}

QString DocxPackage::contentType(const QString &part) const
{
    const QString over = m_overrides.value(part.toLower());
    if (!over.isEmpty())
        return over;
    return m_defaults.value(part.section(u'.', -1).toLower());
}

bool DocxPackage::read(const QString &part, QByteArray *out)
{
    const QString name = m_zip.find(part);
    if (name.isEmpty()) {
        m_error = tr("the part %1 is missing").arg(part);
        return false;
    }
    if (!m_zip.read(name, out)) {
        m_error = m_zip.errorString();
        return false;
    }
    return true;
}

QHash<QString, Relationship> DocxPackage::parseRelationships(const QString &part)
{
    QHash<QString, Relationship> result;
    const QString relsPart = part.isEmpty() ? QStringLiteral("_rels/.rels") : relsPartOf(part);
    if (!hasPart(relsPart))
        return result; // a part without relationships is fine
    QByteArray bytes;
    if (!read(relsPart, &bytes))
        return result;
    XmlScanner x(bytes);
    if (x.enterRoot()) {
        const int root = x.depth();
        while (x.nextChild(root)) {
            if (!x.is("Relationship"))
                continue;
            Relationship r;
            r.type = x.attr("Type").toString().section(u'/', -1);
            r.external = x.attr("TargetMode") == u"External";
            const QString target = x.attr("Target").toString();
            r.target = r.external ? target : resolveTarget(part, target);
            result.insert(x.attr("Id").toString(), r);
        }
    }
    if (x.hasError())
        m_error = tr("%1, %2").arg(relsPart, x.errorString());
    return result;
}

const QHash<QString, Relationship> &DocxPackage::relationships(const QString &part)
{
    auto it = m_rels.find(part);
    if (it == m_rels.end())
        it = m_rels.insert(part, parseRelationships(part));
    return *it;
}

const Relationship *DocxPackage::relationshipOfType(const QString &part, const QString &type)
{
    const QHash<QString, Relationship> &rels = relationships(part);
    for (auto it = rels.cbegin(); it != rels.cend(); ++it) {
        if (it->type == type)
            return &it.value();
    }
    return nullptr;
}

} // namespace formats
