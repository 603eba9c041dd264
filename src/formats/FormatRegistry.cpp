#include "FormatRegistry.h"

#include "DocxFormat.h"
#include "HtmlFormat.h"
#include "PlainTextFormat.h"
#include "RtfFormat.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace formats {

FormatRegistry::FormatRegistry()
{
    add(std::make_unique<DocxFormat>());
    add(std::make_unique<RtfFormat>());
    add(std::make_unique<HtmlFormat>());
    add(std::make_unique<PlainTextFormat>());
}

FormatRegistry::~FormatRegistry() = default;

const FormatRegistry &FormatRegistry::instance()
{
    static const FormatRegistry registry;
    return registry;
}

void FormatRegistry::add(std::unique_ptr<DocumentFormat> format)
{
    m_formats.push_back(std::move(format));
}

const DocumentFormat *FormatRegistry::byExtension(const QString &extension) const
{
    const QString e = extension.toLower();
    for (const auto &f : m_formats) {
        if (f->extensions().contains(e))
            return f.get();
    }
    return nullptr;
}

const DocumentFormat *FormatRegistry::byFileName(const QString &fileName) const
{
    return byExtension(QFileInfo(fileName).suffix());
}

const DocumentFormat *FormatRegistry::detect(const QByteArray &head, const QString &fileName) const
{
    for (const auto &f : m_formats) {
        if (f->canRead() && f->sniff(head) == SniffResult::Yes)
            return f.get();
    }
    const DocumentFormat *named = byFileName(fileName);
    if (named && named->canRead() && named->sniff(head) != SniffResult::No)
        return named;
    for (const auto &f : m_formats) {
        if (f->canRead() && f->sniff(head) == SniffResult::Maybe)
            return f.get();
    }
    return nullptr;
}

QStringList FormatRegistry::openFilters() const
{
    QStringList all;
    QStringList filters;
    for (const auto &f : m_formats) {
        if (!f->canRead())
            continue;
        for (const QString &e : f->extensions())
            all.append(QStringLiteral("*.") + e);
        filters.append(f->filter());
    }
    filters.prepend(
        QCoreApplication::translate("formats", "All supported documents (%1)").arg(all.join(u' ')));
    return filters;
}

QStringList FormatRegistry::saveFilters() const
{
    QStringList filters;
    for (const auto &f : m_formats) {
        if (f->canWrite())
            filters.append(f->filter());
    }
    return filters;
}

const DocumentFormat *FormatRegistry::defaultSaveFormat() const
{
    for (const auto &f : m_formats) {
        if (f->canWrite())
            return f.get();
    }
    return nullptr;
}

const DocumentFormat *FormatRegistry::byFilter(const QString &filter) const
{
    for (const auto &f : m_formats) {
        if (f->canWrite() && f->filter() == filter)
            return f.get();
    }
    return nullptr;
}

} // namespace formats
