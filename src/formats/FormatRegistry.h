#pragma once

#include "DocumentFormat.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace formats {

// The document formats the editor reads and writes, DOCX first.
class FormatRegistry
{
public:
    // DOCX, RTF, HTML and plain text.
    FormatRegistry();
    ~FormatRegistry();
    static const FormatRegistry &instance();

    void add(std::unique_ptr<DocumentFormat> format);
    const std::vector<std::unique_ptr<DocumentFormat>> &formats() const { return m_formats; }

    const DocumentFormat *byExtension(const QString &extension) const;
    // The format for a file name's extension, or nullptr.
    const DocumentFormat *byFileName(const QString &fileName) const;
    // The reader for a file's first bytes: a format that recognises them,
    // else the one its extension names, else one that may read them.
    const DocumentFormat *detect(const QByteArray &head, const QString &fileName) const;

    // Open dialog: "All supported documents (...)" first, then each format.
    QStringList openFilters() const;
    // Save dialog: the writable formats, the default (DOCX) first.
    QStringList saveFilters() const;
    const DocumentFormat *defaultSaveFormat() const;
    // The writable format whose filter() is `filter`.
    const DocumentFormat *byFilter(const QString &filter) const;

private:
    std::vector<std::unique_ptr<DocumentFormat>> m_formats;
};

} // namespace formats
