#pragma once

#include <QString>

// Reads single strings from an INI file the way Windows private-profile reading does; the
// rules are those of IniDocument. Every read opens the file, reads it whole and releases it,
// so nothing is held between reads and a changed file is seen by the next read. A missing,
// unreadable or empty file gives the default and is no error.
//
// Unlike Windows, a file name without a folder is taken relative to the current folder, not
// the Windows folder; callers pass full paths.
class IniFile
{
public:
    explicit IniFile(QString fileName);

    const QString &fileName() const { return m_fileName; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

private:
    QString m_fileName;
};
