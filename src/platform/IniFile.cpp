#include "platform/IniFile.h"

#include "platform/IniDocument.h"

#include <QFile>

#include <utility>

IniFile::IniFile(QString fileName) : m_fileName(std::move(fileName)) {}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    IniDocument document;
    if (!m_fileName.isEmpty()) {
        QFile file(m_fileName);
        if (file.open(QIODevice::ReadOnly))
            document = IniDocument::fromBytes(file.readAll());
    }
    return document.readString(section, key, defaultValue);
}
