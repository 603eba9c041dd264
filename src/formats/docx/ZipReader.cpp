#include "ZipReader.h"

#include <QCoreApplication>

#include <zip.h>

namespace formats {

static QString tr(const char *text)
{
    return QCoreApplication::translate("formats", text);
}

ZipReader::ZipReader(const QByteArray &bytes) : m_bytes(bytes)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t *source =
        zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &err);
    if (source)
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &err);
    if (!m_zip) {
        if (source)
            zip_source_free(source);
        m_error = tr("the file is no valid ZIP package (%1)")
                      .arg(QString::fromUtf8(zip_error_strerror(&err)));
        zip_error_fini(&err);
        return;
    }
    zip_error_fini(&err);
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    if (count > MaxEntries) {
        m_error =
            tr("the package has %1 parts, more than the %2 allowed").arg(count).arg(MaxEntries);
        zip_close(m_zip);
        m_zip = nullptr;
        return;
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char *name = zip_get_name(m_zip, zip_uint64_t(i), 0))
            m_names.append(QString::fromUtf8(name));
    }
}

ZipReader::~ZipReader()
{
    if (m_zip)
        zip_discard(m_zip);
}

QString ZipReader::find(const QString &name) const
{
    for (const QString &n : m_names) {
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    }
    return QString();
}

bool ZipReader::read(const QString &name, QByteArray *out)
{
    out->clear();
    if (!m_zip)
        return false;
    const QByteArray utf8 = name.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(m_zip, utf8.constData(), 0, &st) != 0) {
        m_error = tr("the part %1 is missing").arg(name);
        return false;
    }
    zip_file_t *file = zip_fopen(m_zip, utf8.constData(), 0);
    if (!file) {
        m_error =
            tr("the part %1 cannot be read (%2)").arg(name, QString::fromUtf8(zip_strerror(m_zip)));
        return false;
    }
    const qint64 compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? qint64(st.comp_size) : 0;
    // The stated size can lie; it only sizes the buffer, the real count is kept below.
    if ((st.valid & ZIP_STAT_SIZE) && qint64(st.size) <= MaxEntrySize)
        out->reserve(qsizetype(st.size));
    char chunk[65536];
    qint64 size = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
        if (n < 0) {
            m_error = tr("the part %1 is damaged (%2)")
                          .arg(name, QString::fromUtf8(zip_file_strerror(file)));
            ok = false;
            break;
        }
        if (n == 0)
            break;
        size += n;
        m_total += n;
        if (size > MaxEntrySize || m_total > MaxTotalSize ||
            (size > RatioCheckSize && size > compressed * MaxRatio)) {
            m_error = tr("the part %1 inflates to more data than a document holds (a zip bomb?)")
                          .arg(name);
            ok = false;
            break;
        }
        out->append(chunk, qsizetype(n));
    }
    zip_fclose(file);
    if (!ok)
        out->clear();
    return ok;
}

} // namespace formats
