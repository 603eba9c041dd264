#include "ZipWriter.h"

#include <zip.h>

namespace formats {

ZipWriter::ZipWriter()
{
    zip_error_t err;
    zip_error_init(&err);
    m_source = zip_source_buffer_create(nullptr, 0, 0, &err);
    if (m_source) {
        // Kept past zip_close, which writes the archive into it.
        zip_source_keep(m_source);
        m_zip = zip_open_from_source(m_source, ZIP_TRUNCATE, &err);
    }
    if (!m_zip)
        m_error = QString::fromUtf8(zip_error_strerror(&err));
    zip_error_fini(&err);
}

ZipWriter::~ZipWriter()
{
    if (m_zip)
        zip_discard(m_zip);
    if (m_source)
        zip_source_free(m_source);
}

bool ZipWriter::add(const QString &name, const QByteArray &data)
{
    if (!m_zip)
        return false;
    m_data.append(data);
    const QByteArray &kept = m_data.last();
    zip_source_t *s = zip_source_buffer(m_zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!s || zip_file_add(m_zip, name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8) < 0) {
        if (s)
            zip_source_free(s);
        m_error = QString::fromUtf8(zip_strerror(m_zip));
        return false;
    }
    return true;
}

QByteArray ZipWriter::finish()
{
    QByteArray out;
    if (!m_zip)
        return out;
    if (zip_close(m_zip) != 0) {
        m_error = QString::fromUtf8(zip_strerror(m_zip));
        return out;
    }
    m_zip = nullptr;
    zip_stat_t st;
    if (zip_source_stat(m_source, &st) != 0 || zip_source_open(m_source) != 0) {
        m_error = QString::fromUtf8(zip_error_strerror(zip_source_error(m_source)));
        return out;
    }
    out.resize(qsizetype(st.size));
    const zip_int64_t n = zip_source_read(m_source, out.data(), st.size);
    zip_source_close(m_source);
    if (n != zip_int64_t(st.size)) {
        m_error = QString::fromUtf8(zip_error_strerror(zip_source_error(m_source)));
        out.clear();
    }
    return out;
}

} // namespace formats
